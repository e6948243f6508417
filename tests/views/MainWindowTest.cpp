#include "AppView.h"
#include "ArticleContextMenu.h"
#include "NoteEditorView.h"
#include "PaperDetailView.h"
#include "PaperList.h"
#include "PlaceholderView.h"
#include "SearchEngines.h"
#include "SearchField.h"
#include "ViewTestSupport.h"

#include <QAccessible>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>

namespace {

class MainWindowTest : public BrivetAppTest {
protected:
    PaperListPtr makeList(const QString &name)
    {
        auto list = std::make_shared<PaperList>(name, QList<Paper *>{});
        app->modelContext().insert(list);
        return list;
    }
    static QDialog *sheetOf(MainWindow *window) { return window->appView()->editorSheet(); }
    void activate(MainWindow *window)
    {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QAction *menuAction(MainWindow *window, const QString &text)
    {
        for (QAction *action : window->findChildren<QAction *>())
            if (action->text() == text)
                return action;
        ADD_FAILURE() << "no action " << text.toStdString();
        return nullptr;
    }

    AppState &state = app->appState();
};

} // namespace

TEST_F(MainWindowTest, TheWindowShowsThreeColumnsAndNothingToInspect)
{
    MainWindow *window = openWindow();
    EXPECT_EQ(window->windowTitle(), "Brivet");
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->size(), QSize(1200, 600));
    window->resize(800, 400);
    EXPECT_EQ(window->size(), QSize(1200, 600)) << "never smaller than 1200 by 600";

    QSplitter *columns = window->appView()->splitter();
    ASSERT_EQ(columns->count(), 3);
    EXPECT_GE(columns->widget(1)->width(), AppView::contentMinimumWidth);
    columns->setSizes({10, 10, 2000});
    EXPECT_GE(columns->widget(1)->width(), AppView::contentMinimumWidth) << "the content column keeps its minimum";

    auto *placeholder = qobject_cast<PlaceholderView *>(window->appView()->detail());
    ASSERT_TRUE(placeholder);
    EXPECT_TRUE(placeholder->isVisible());
    EXPECT_EQ(placeholder->title(), "Nothing to inspect");
    EXPECT_EQ(placeholder->sentence(), "Select a paper from a list or a search result to see its details here");
    EXPECT_EQ(placeholder->symbol(), "questionmark.app.dashed");
}

TEST_F(MainWindowTest, TheDetailColumnFollowsTheSelectedPaper)
{
    MainWindow *window = openWindow();
    auto paper = std::make_shared<Paper>();
    state.setSelectedPaper(paper);
    auto *detail = qobject_cast<PaperDetailView *>(window->appView()->detail());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->paper(), paper);
    EXPECT_TRUE(detail->isVisible());
    state.setSelectedPaper(nullptr);
    EXPECT_TRUE(qobject_cast<PlaceholderView *>(window->appView()->detail()));
}

TEST_F(MainWindowTest, ThePromptNamesTheSelectionAndFollowsARenameAtOnce)
{
    MainWindow *window = openWindow();
    SearchField *field = window->appView()->searchField();
    EXPECT_EQ(field->prompt(), "Search ");
    EXPECT_EQ(field->accessibleName(), "Search ");
    PaperListPtr reading = makeList("Reading");
    const std::pair<std::optional<QUuid>, QString> cases[] = {
        {arxivEngineId(), "Search ArXiv"}, {adsEngineId(), "Search ADS"}, {reading->id(), "Search Reading"},
        {QUuid::createUuid(), "Search "}, {std::nullopt, "Search "}};
    for (const auto &[selection, prompt] : cases) {
        state.setSelectedListId(selection);
        EXPECT_EQ(field->prompt(), prompt);
    }
    state.setSelectedListId(reading->id());
    reading->setName("Read next");
    EXPECT_EQ(field->prompt(), "Search Read next");
    EXPECT_EQ(field->accessibleName(), "Search Read next");
    app->modelContext().deleteObject(reading);
    EXPECT_EQ(field->prompt(), "Search ");
}

TEST_F(MainWindowTest, WindowsShareTheSelectionButNotTheSearchText)
{
    MainWindow *first = openWindow();
    activate(first);
    QTest::keyClick(first, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(app->windows().size(), 2);
    MainWindow *second = app->windows().last();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(second));
    EXPECT_NE(&second->errorHandler(), &first->errorHandler());
    EXPECT_EQ(&second->environment().appState, &first->environment().appState);
    EXPECT_EQ(&second->environment().modelContext, &first->environment().modelContext);

    state.setSelectedListId(adsEngineId());
    EXPECT_EQ(first->appView()->searchField()->prompt(), "Search ADS");
    EXPECT_EQ(second->appView()->searchField()->prompt(), "Search ADS");
    QTest::keyClicks(first->appView()->searchField(), "galaxies");
    EXPECT_TRUE(second->appView()->searchField()->text().isEmpty());
    second->errorHandler().showError(QStringLiteral("only here"));
    EXPECT_FALSE(first->errorHandler().currentAlert());
    second->errorHandler().setCurrentAlert(std::nullopt);

    activate(second);
    QTest::keyClick(second, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(second->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->windows(), QList<MainWindow *>{first});
    EXPECT_EQ(first->appView()->searchField()->text(), "galaxies");
}

TEST_F(MainWindowTest, TheNoteEditorSheetFollowsTheFlagInOneWindow)
{
    MainWindow *first = openWindow();
    MainWindow *second = openWindow();
    activate(second);

    // No paper selected: the sheet opens empty.
    state.setShowEditor(true);
    QDialog *sheet = sheetOf(second);
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_FALSE(sheet->findChild<NoteEditorView *>());
    EXPECT_FALSE(sheetOf(first)) << "one editor, in the active window";
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_FALSE(state.showEditor()) << "dismissing the sheet clears the flag";
    EXPECT_FALSE(sheetOf(second));
    activate(second);

    auto paper = std::make_shared<Paper>();
    state.setSelectedPaper(paper);
    state.setShowEditor(true);
    ASSERT_TRUE(sheetOf(second));
    auto *editor = sheetOf(second)->findChild<NoteEditorView *>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->paper(), paper);
    // Cleared elsewhere (the editor's own buttons): the sheet closes.
    state.setShowEditor(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(sheetOf(second));
    // The editor took the focus; offscreen, nothing hands the activation back to the window.
    activate(second);

    // A window that closes with its sheet open leaves the flag cleared.
    state.setShowEditor(true);
    ASSERT_TRUE(sheetOf(second));
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(state.showEditor());
}

// "Take Notes" opens an editor in the window it was chosen in, even with another window's editor
// open; each editor keeps its paper, and a paper already being edited brings its editor forward.
TEST_F(MainWindowTest, TakeNotesOpensOneEditorPerPaperInTheWindowItWasChosenIn)
{
    MainWindow *first = openWindow();
    MainWindow *second = openWindow();
    auto list = makeList("Reading");
    auto one = std::make_shared<Paper>(), two = std::make_shared<Paper>();
    // Chosen from a paper's context menu, as a user would, in the given window.
    const auto takeNotes = [&](MainWindow *window, const PaperPtr &paper) {
        ArticleContextMenu menu(window->environment(), paper, list, window->appView()->splitter()->widget(1));
        QAction *action = menu.actions().value(0);
        ASSERT_TRUE(action);
        ASSERT_EQ(action->text(), "Take Notes");
        action->trigger();
    };
    const auto editing = [](MainWindow *window) -> PaperPtr {
        const QDialog *sheet = sheetOf(window);
        const auto *editor = sheet ? sheet->findChild<NoteEditorView *>() : nullptr;
        return editor ? editor->paper() : nullptr;
    };

    activate(first);
    takeNotes(first, one);
    ASSERT_TRUE(sheetOf(first));
    EXPECT_EQ(editing(first), one);
    EXPECT_TRUE(state.showEditor());

    activate(second);
    takeNotes(second, two);
    ASSERT_TRUE(sheetOf(second)) << "an editor in the window where it was asked for";
    EXPECT_TRUE(sheetOf(second)->isVisible());
    EXPECT_EQ(editing(second), two);
    EXPECT_EQ(editing(first), one) << "an open editor keeps its paper";
    EXPECT_EQ(state.selectedPaper(), two);

    // The second window's editor goes; the first one's stays, and so does the flag.
    QTest::keyClick(sheetOf(second), Qt::Key_Escape);
    EXPECT_FALSE(sheetOf(second));
    EXPECT_TRUE(state.showEditor()) << "an editor is still open";
    activate(second);

    // The paper being edited in the first window: that editor comes forward, none opens here.
    takeNotes(second, one);
    EXPECT_FALSE(sheetOf(second)) << "one editor per paper";
    EXPECT_EQ(editing(first), one);
    EXPECT_TRUE(QTest::qWaitForWindowActive(sheetOf(first)));
    EXPECT_EQ(QApplication::activeWindow(), sheetOf(first));

    QTest::keyClick(sheetOf(first), Qt::Key_Escape);
    EXPECT_FALSE(sheetOf(first));
    EXPECT_FALSE(state.showEditor()) << "the last editor gone clears the flag";
}

TEST_F(MainWindowTest, MenusHoldTheWindowCommandsAndAbout)
{
    MainWindow *window = openWindow();
    EXPECT_TRUE(menuAction(window, "New Window")->shortcuts().contains(QKeySequence("Ctrl+N")));
    EXPECT_TRUE(menuAction(window, "Close Window")->shortcuts().contains(QKeySequence("Ctrl+W")));
    EXPECT_TRUE(menuAction(window, "Quit")->shortcuts().contains(QKeySequence("Ctrl+Q")));

    menuAction(window, "About Brivet")->trigger();
    auto *about = window->findChild<QMessageBox *>();
    ASSERT_TRUE(about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowModality(), Qt::WindowModal);
    EXPECT_EQ(about->text(), "Brivet " + QCoreApplication::applicationVersion());
    EXPECT_EQ(QCoreApplication::applicationVersion(), "1.0.0");
    EXPECT_FALSE(about->informativeText().isEmpty());
}

// A screen reader, and this test, find every control of the window by its name.
TEST_F(MainWindowTest, EveryControlHasAnAccessibleName)
{
    makeList("Reading");
    MainWindow *window = openWindow();
    int controls = 0;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
                             || qobject_cast<QAbstractItemView *>(widget);
        if (!control || !widget->isVisibleTo(window))
            continue;
        ++controls;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        ASSERT_TRUE(accessible);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString();
    }
    EXPECT_GE(controls, 3);
}
