// The detail column driven as a user sees it: what it shows, when it shows the note, copying the
// identifier, following changes, and papers that are far from ordinary.
#include "PaperDetailView.h"

#include "DocumentLayout.h"
#include "LogCapture.h"
#include "PaperListModel.h"
#include "SearchEngines.h"
#include "StructuredText.h"
#include "ViewTestSupport.h"
#include "WrappingText.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <QToolButton>

namespace {

class PaperDetailViewTest : public ::testing::Test, protected TestViewEnvironment {
protected:
    PaperPtr storedPaper(const QString &notes = QString())
    {
        auto paper = std::make_shared<Paper>(QStringLiteral("2401.00001"), QStringLiteral("On <b>bold</b> claims"),
                                             QStringLiteral("We show that."),
                                             QStringList{QStringLiteral("A. One"), QStringLiteral("B. Two")},
                                             QDateTime(QDate(2024, 1, 5), QTime(12, 0), Qt::UTC), std::nullopt,
                                             QUrl(QStringLiteral("https://arxiv.org/abs/2401.00001")), std::nullopt,
                                             std::nullopt, notes);
        list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
        env.modelContext.insert(list);
        dataManager.add(paper, list.get());
        return paper;
    }
    // Shows the detail at a column's size, as the window would.
    std::unique_ptr<PaperDetailView> show(const PaperPtr &paper, QSize size = {420, 700})
    {
        auto view = std::make_unique<PaperDetailView>(env, paper);
        view->resize(size);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        return view;
    }
    static QString textOf(const PaperDetailView &view, const char *name)
    {
        if (auto *text = view.findChild<WrappingText *>(QLatin1String(name)))
            return text->text();
        if (auto *label = view.findChild<QLabel *>(QLatin1String(name)))
            return label->text();
        return view.findChild<QToolButton *>(QLatin1String(name))->text();
    }
    void selectList() { appState.setSelectedListId(list->id()); }

    PaperListPtr list;
};

TEST_F(PaperDetailViewTest, ShowsThePaperAsWritten)
{
    PaperPtr paper = storedPaper();
    auto view = show(paper);
    EXPECT_EQ(textOf(*view, "title"), QStringLiteral("On <b>bold</b> claims"));
    EXPECT_EQ(textOf(*view, "authors"), QStringLiteral("A. One, B. Two"));
    EXPECT_EQ(textOf(*view, "date"), PaperListModel::abbreviatedDate(paper->published()));
    EXPECT_EQ(textOf(*view, "identifier"), QStringLiteral("2401.00001"));
    EXPECT_EQ(textOf(*view, "summary"), QStringLiteral("We show that."));

    // Only the authors can be selected and copied.
    auto *authors = view->findChild<WrappingText *>(QStringLiteral("authors"));
    EXPECT_TRUE(authors->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(view->findChild<WrappingText *>(QStringLiteral("title"))->textInteractionFlags(), Qt::NoTextInteraction);
    EXPECT_EQ(view->findChild<WrappingText *>(QStringLiteral("summary"))->textInteractionFlags(), Qt::NoTextInteraction);

    auto *identifier = view->findChild<QToolButton *>(QStringLiteral("identifier"));
    EXPECT_EQ(identifier->toolTip(), QStringLiteral("Click to copy"));
    EXPECT_FALSE(identifier->icon().isNull());
}

TEST_F(PaperDetailViewTest, NoteShowsOnlyFromAListAndOnlyWhenNotEmpty)
{
    struct Case {
        const char *name;
        int selection; // 0 none, 1 an engine, 2 the list
        QString notes;
        bool shown;
    };
    const Case cases[] = {
        {"nothing selected", 0, QStringLiteral("# Note"), false},
        {"arXiv selected", 1, QStringLiteral("# Note"), false},
        {"list, empty note", 2, QString(), false},
        {"list, note", 2, QStringLiteral("# Note"), true},
        {"list, blanks only", 2, QStringLiteral("  \n\n "), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PaperPtr paper = storedPaper(c.notes);
        appState.setSelectedListId(c.selection == 0   ? std::nullopt
                                   : c.selection == 1 ? std::optional(arxivEngineId())
                                                      : std::optional(list->id()));
        auto view = show(paper);
        EXPECT_EQ(view->showsNote(), c.shown);
        EXPECT_EQ(view->findChild<QWidget *>(QStringLiteral("noteSection"))->isVisible(), c.shown);
        if (c.shown) {
            EXPECT_EQ(view->noteView()->markup(), c.notes);
        }
    }
}

TEST_F(PaperDetailViewTest, FollowsEveryChangeAtOnce)
{
    PaperPtr paper = storedPaper(QStringLiteral("# First"));
    selectList();
    auto view = show(paper);
    ASSERT_TRUE(view->showsNote());

    paper->setTitle(QStringLiteral("Renamed"));
    paper->setAuthors({QStringLiteral("C. Three")});
    paper->setSummary(QStringLiteral("New abstract"));
    paper->setId(QStringLiteral("2401.99999"));
    EXPECT_EQ(textOf(*view, "title"), QStringLiteral("Renamed"));
    EXPECT_EQ(textOf(*view, "authors"), QStringLiteral("C. Three"));
    EXPECT_EQ(textOf(*view, "summary"), QStringLiteral("New abstract"));
    EXPECT_EQ(textOf(*view, "identifier"), QStringLiteral("2401.99999"));

    // A note saved elsewhere is parsed and drawn again without anything else happening.
    paper->setNotes(QStringLiteral("# Second\n\nbody"));
    EXPECT_EQ(view->noteView()->markup(), QStringLiteral("# Second\n\nbody"));
    EXPECT_TRUE(view->noteView()->document().text().contains(QStringLiteral("Second")));

    // The sidebar switching to an engine hides the note, and back to the list shows it.
    appState.setSelectedListId(adsEngineId());
    EXPECT_FALSE(view->showsNote());
    EXPECT_FALSE(view->findChild<QWidget *>(QStringLiteral("noteSection"))->isVisible());
    selectList();
    EXPECT_TRUE(view->findChild<QWidget *>(QStringLiteral("noteSection"))->isVisible());

    paper->setNotes(QString());
    EXPECT_FALSE(view->findChild<QWidget *>(QStringLiteral("noteSection"))->isVisible());
}

TEST_F(PaperDetailViewTest, CopyLeavesOnlyTheIdentifierAsPlainText)
{
    PaperPtr paper = storedPaper();
    auto view = show(paper);
    auto *before = new QMimeData;
    before->setHtml(QStringLiteral("<p>old</p>"));
    before->setData(QStringLiteral("application/x-other"), "x");
    QGuiApplication::clipboard()->setMimeData(before);

    QTest::mouseClick(view->findChild<QToolButton *>(QStringLiteral("identifier")), Qt::LeftButton);
    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now->text(), QStringLiteral("2401.00001"));
    EXPECT_FALSE(now->hasHtml());
    EXPECT_FALSE(now->hasFormat(QStringLiteral("application/x-other")));
    EXPECT_EQ(textOf(*view, "identifier"), QStringLiteral("Copied!"));
    EXPECT_TRUE(view->showCopiedMessage());
}

TEST_F(PaperDetailViewTest, EachPressEndsItsOwnFeedbackWhateverCameAfter)
{
    PaperPtr paper = storedPaper();
    auto view = show(paper);
    QSignalSpy changes(view.get(), &PaperDetailView::showCopiedMessageChanged);
    QElapsedTimer clock;
    clock.start();
    view->copyIdentifier();
    QTest::qWait(1000);
    view->copyIdentifier(); // still showing: no change
    EXPECT_TRUE(view->showCopiedMessage());
    // The first press's timer ends it 1.5 s after that press, not 1.5 s after the second.
    QTRY_VERIFY_WITH_TIMEOUT(!view->showCopiedMessage(), 3000);
    const qint64 endedAfter = clock.elapsed();
    EXPECT_GE(endedAfter, PaperDetailView::kCopiedFeedbackMs);
    EXPECT_LT(endedAfter, 1000 + PaperDetailView::kCopiedFeedbackMs);
    EXPECT_EQ(textOf(*view, "identifier"), QStringLiteral("2401.00001"));
    // The second press's timer passes without bringing it back.
    QTest::qWait(int(1000 + PaperDetailView::kCopiedFeedbackMs + 200 - clock.elapsed()));
    EXPECT_FALSE(view->showCopiedMessage());
    ASSERT_EQ(changes.size(), 2);
    EXPECT_TRUE(changes[0][0].toBool());
    EXPECT_FALSE(changes[1][0].toBool());
}

TEST_F(PaperDetailViewTest, FeedbackBelongsToThePlaceNotToThePaper)
{
    PaperPtr first = storedPaper();
    PaperPtr second = std::make_shared<Paper>();
    auto view = show(first);
    view->copyIdentifier();
    view->setPaper(second);
    EXPECT_TRUE(view->showCopiedMessage());
    EXPECT_EQ(textOf(*view, "identifier"), QStringLiteral("Copied!"));
    QTRY_VERIFY_WITH_TIMEOUT(!view->showCopiedMessage(), 3000);
    EXPECT_EQ(textOf(*view, "identifier"), second->id());
    // Another paper's changes are followed, the first one's no longer.
    first->setTitle(QStringLiteral("Old"));
    second->setTitle(QStringLiteral("New"));
    EXPECT_EQ(textOf(*view, "title"), QStringLiteral("New"));
}

TEST_F(PaperDetailViewTest, TheActionBarOffersTheThreeFileAndWebActionsForEveryPaper)
{
    // A search result with a PDF address and a stored paper without one: the bar is the same,
    // only the actions' own enabled states differ.
    PaperPtr stored = storedPaper();
    PaperPtr result = std::make_shared<Paper>();
    result->setPdfURL(QUrl(QStringLiteral("https://arxiv.org/pdf/1")));
    struct Case {
        const char *name;
        PaperPtr paper;
        bool openEnabled;
    };
    for (const Case &c : {Case{"stored, no PDF anywhere", stored, false}, Case{"result with a PDF address", result, true}}) {
        SCOPED_TRACE(c.name);
        appState.setSelectedListId(c.paper == stored ? std::optional(list->id()) : std::optional(arxivEngineId()));
        auto view = show(c.paper);
        QStringList labels;
        QList<QToolButton *> buttons;
        for (auto *button : view->findChild<QWidget *>(QStringLiteral("actionBar"))->findChildren<QToolButton *>()) {
            if (button->isVisibleTo(view.get())) {
                labels << button->text();
                buttons << button;
            }
        }
        EXPECT_EQ(labels, (QStringList{QStringLiteral("Open PDF"), QStringLiteral("Delete PDF"),
                                       QStringLiteral("Open in Browser")}));
        ASSERT_EQ(buttons.size(), 3);
        EXPECT_EQ(buttons[0]->isEnabled(), c.openEnabled);
        EXPECT_FALSE(buttons[1]->isEnabled()) << "no file on disk";
        EXPECT_TRUE(buttons[2]->isEnabled());
        EXPECT_EQ(buttons[2]->toolTip(), QStringLiteral("Open this paper in your web browser"));
        for (QToolButton *button : buttons)
            EXPECT_FALSE(button->accessibleName().isEmpty());

        QTest::mouseClick(buttons[2], Qt::LeftButton);
        QTRY_COMPARE(workspace->opened.size(), 1);
        EXPECT_EQ(workspace->opened.takeFirst(), c.paper->url());
    }
}

TEST_F(PaperDetailViewTest, AnotherPaperBringsItsOwnActions)
{
    PaperPtr first = storedPaper();
    PaperPtr second = std::make_shared<Paper>();
    second->setUrl(QUrl(QStringLiteral("https://example.org/second")));
    auto view = show(first);
    view->setPaper(second);
    QApplication::processEvents();
    QToolButton *browser = nullptr;
    for (auto *button : view->findChildren<QToolButton *>())
        if (button->isVisibleTo(view.get()) && button->text() == QStringLiteral("Open in Browser"))
            browser = button;
    ASSERT_TRUE(browser);
    QTest::mouseClick(browser, Qt::LeftButton);
    QTRY_COMPARE(workspace->opened.size(), 1);
    EXPECT_EQ(workspace->opened.first(), QUrl(QStringLiteral("https://example.org/second")));
}

TEST_F(PaperDetailViewTest, LongNoteScrollsWithTheColumn)
{
    QString note;
    for (int i = 0; i < 200; ++i)
        note += QStringLiteral("## Section %1\n\nSome text of the section.\n\n").arg(i);
    PaperPtr paper = storedPaper(note);
    selectList();
    auto view = show(paper, {420, 500});
    view->noteView()->finishLayout();
    QApplication::processEvents();
    auto *scroll = view->findChild<QScrollArea *>();
    QScrollBar *bar = scroll->verticalScrollBar();
    EXPECT_GT(bar->maximum(), 5000);
    // The note is as tall as its content: no scroll area of its own.
    EXPECT_GE(view->noteView()->height(), view->noteView()->heightForWidth(view->noteView()->width()));

    // A wheel over the note scrolls the whole column.
    QWheelEvent wheel(QPointF(20, 20), view->noteView()->mapToGlobal(QPointF(20, 20)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    // As from the mouse, so that an ignored wheel goes on to the parents.
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    qApp->notify(view->noteView(), &wheel);
    EXPECT_GT(bar->value(), 0);
}

TEST_F(PaperDetailViewTest, ANotesLinksOpenOnlyWhenTheyAreWebOrMailAddresses)
{
    // A note can come with a dropped paper; a click on a launcher must start nothing.
    PaperPtr paper = storedPaper(QStringLiteral("[web](https://example.org/w) [mail](mailto:a@example.org) "
                                                "[launcher](file:///tmp/a.desktop) [share](smb://host/share)"));
    selectList();
    auto view = show(paper);
    StructuredText *note = view->noteView();
    note->finishLayout();
    LogCapture log;
    for (const char *text : {"web", "mail", "launcher", "share"}) {
        const qsizetype at = note->document().text().indexOf(QLatin1String(text));
        QPointF point;
        for (const TextItem &t : note->currentLayout()->textItems()) {
            const int local = int(at) - t.textStart;
            if (local < 0 || local >= t.layout->text().size())
                continue;
            const QTextLine line = t.layout->lineForTextPosition(local);
            point = t.origin + QPointF(line.cursorToX(local) + 2, line.y() + line.height() / 2);
        }
        QTest::mouseClick(note, Qt::LeftButton, {}, point.toPoint());
    }
    EXPECT_EQ(workspace->opened, (QList<QUrl>{QUrl(QStringLiteral("https://example.org/w")),
                                              QUrl(QStringLiteral("mailto:a@example.org"))}));
    ASSERT_EQ(log.lines().size(), 2);
    EXPECT_TRUE(log.lines().at(0).startsWith(QStringLiteral("Brivet: Not opening the link file:///tmp/a.desktop")));
    EXPECT_TRUE(log.lines().at(1).startsWith(QStringLiteral("Brivet: Not opening the link smb://host/share")));
}

TEST_F(PaperDetailViewTest, HugeNoteNeverHoldsTheWindow)
{
    // 5 MB of Markdown: parsed on a worker thread while the window goes on handling events.
    QString note;
    const QString chunk = QStringLiteral("## Heading\n\nA paragraph with *emphasis* and `code`.\n\n- one\n- two\n\n");
    while (note.size() < 5 * 1024 * 1024)
        note += chunk;
    PaperPtr paper = storedPaper(note);
    selectList();
    QElapsedTimer clock;
    clock.start();
    auto view = show(paper);
    EXPECT_TRUE(view->noteView()->isParsing());
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(!view->noteView()->isParsing(), 120000);
    EXPECT_GT(ticks, 0);
    EXPECT_FALSE(view->noteView()->document().isEmpty());
    EXPECT_EQ(view->noteView()->markup().size(), note.size()); // nothing cut
}

TEST_F(PaperDetailViewTest, OutlandishPapersStayInsideTheColumn)
{
    PaperPtr paper = storedPaper();
    const QString title(10000, QLatin1Char('x'));
    QStringList authors;
    for (int i = 0; i < 500; ++i)
        authors << QStringLiteral("Author %1").arg(i);
    paper->setTitle(title);
    paper->setAuthors(authors);
    paper->setId(QStringLiteral("../.hidden/x"));
    // Not UTF-8 where it came from: replacement characters, and a lone surrogate.
    paper->setNotes(QString::fromUtf8("# \xff\xfe broken \xc3(") + QChar(0xd800) + QStringLiteral(" end"));
    selectList();
    auto view = show(paper, {420, 700});
    QApplication::processEvents();

    EXPECT_EQ(textOf(*view, "title"), title); // nothing cut
    EXPECT_EQ(textOf(*view, "authors"), authors.join(QStringLiteral(", ")));
    EXPECT_EQ(textOf(*view, "identifier"), QStringLiteral("../.hidden/x"));
    // Everything wraps to the column instead of widening it.
    auto *content = view->findChild<QWidget *>(QStringLiteral("paperDetailContent"));
    EXPECT_LE(content->width(), view->width());
    EXPECT_GT(content->height(), 2000);
    EXPECT_TRUE(view->showsNote());
    EXPECT_FALSE(view->noteView()->document().isEmpty());
}

} // namespace
