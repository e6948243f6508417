#pragma once

#include "ViewTestSupport.h"

#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"
#include "SearchEngines.h"

#include <QAction>
#include <QLocale>
#include <QTimeZone>
#include <QToolBar>
#include <QWidget>

// A view environment over a fresh store for the columns' tests, with helpers
// to make lists and papers. Engines keep results for the whole process, so
// they are emptied before and after each test.
class ColumnsTest : public ::testing::Test {
protected:
    ColumnsTest()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        clearEngines();
    }
    ~ColumnsTest() override { clearEngines(); }

    static void clearEngines()
    {
        for (SearchEngine *engine : searchEngines())
            engine->setPapers(std::nullopt);
    }
    ModelContext &context() { return t.container.mainContext(); }
    AppState &appState() { return t.appState; }

    PaperListPtr makeList(const QString &name, const QList<PaperPtr> &papers = {})
    {
        auto list = std::make_shared<PaperList>(name, QList<Paper *>{});
        context().insert(list);
        for (const PaperPtr &paper : papers)
            t.dataManager.add(paper, list.get());
        return list;
    }
    static PaperPtr makePaper(const QString &id, QStringList authors = {QStringLiteral("A. Author")},
                              std::optional<QUrl> pdf = std::nullopt)
    {
        return std::make_shared<Paper>(id, QStringLiteral("Title of ") + id, QStringLiteral("Summary"), authors,
                                       QDateTime(QDate(1905, 6, 30), QTime(12, 0), QTimeZone::utc()), std::nullopt,
                                       QUrl(QStringLiteral("https://arxiv.org/abs/") + id), pdf, std::nullopt,
                                       QString());
    }
    static PaperPtr pointer(Paper *paper) { return std::static_pointer_cast<Paper>(paper->shared_from_this()); }
    static void showResults(SearchEngine *engine, const QList<PaperPtr> &papers, AppState &state)
    {
        static qint64 marker = 0;
        engine->setPapers(papers);
        state.setNewResults(++marker);
    }
    // The texts of the visible actions of a tool bar or menu, separators as "|".
    static QStringList texts(const QList<QAction *> &actions)
    {
        QStringList shown;
        for (QAction *action : actions) {
            if (action->isVisible())
                shown << (action->isSeparator() ? QStringLiteral("|") : action->text());
        }
        return shown;
    }
    // Whatever is pending drawn, as a turn of the event loop would.
    static void paint(QWidget &widget)
    {
        QCoreApplication::processEvents();
        widget.repaint();
    }
    static void show(QWidget &widget)
    {
        widget.resize(900, 600);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }

    TestViewEnvironment t;
    ViewEnvironment &env = t.env;
};
