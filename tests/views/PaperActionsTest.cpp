#include "ColumnsTestSupport.h"

#include "AwaitVoid.h"
#include "DataManager.h"
#include "ErrorHandler.h"
#include "PaperActions.h"

#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QSignalSpy>

namespace {

class PaperActionsTest : public ColumnsTest {
protected:
    static void writePdf(const PaperPtr &paper, const QByteArray &bytes = "%PDF-1.4")
    {
        const QString path = paper->localURL().toLocalFile();
        QDir().mkpath(QFileInfo(path).absolutePath());
        TemporaryDataFolder::write(path, bytes);
    }
    QString alert() const
    {
        const auto &current = t.errorHandler.currentAlert();
        return current ? current->message : QString();
    }
    QWidget parent;
};

} // namespace

TEST_F(PaperActionsTest, LabelsSymbolsAndHelpTexts)
{
    const PaperPtr paper = makePaper("p");
    auto list = makeList("Reading");
    auto *menu = new AddToMenu(env, paper, &parent);
    const struct {
        QAction *action;
        QString text;
        QString help;
        bool destructive;
    } cases[] = {
        {menu->menuAction(), "Add To", "Add this paper to a list", false},
        {new DeleteFileAction(env, paper, &parent), "Delete PDF", "Delete this paper's PDF file", true},
        {new ImportPaperAction(env, &parent), "Import paper", "Import a paper manually", false},
        {new OpenBrowserAction(env, paper, &parent), "Open in Browser", "Open this paper in your web browser", false},
        {new OpenFileAction(env, paper, &parent), "Open PDF", "Open this paper in your PDF viewer", false},
        {new RemovePaperAction(env, paper, list, &parent), "Remove from Reading", "Remove this paper from Reading", true},
        {new TakeNotesAction(env, paper, &parent), "Take Notes", "Take notes on this paper", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(c.action->text(), c.text);
        EXPECT_EQ(c.action->toolTip(), c.help);
        EXPECT_FALSE(c.action->icon().isNull());
        EXPECT_EQ(PaperAction::isDestructive(c.action), c.destructive);
    }
}

TEST_F(PaperActionsTest, TheFileActionsAreEnabledByWhatIsOnDisk)
{
    const struct {
        const char *name;
        std::optional<QUrl> pdfURL;
        std::optional<QByteArray> localFile;
        bool canOpen;
        bool canDelete;
    } cases[] = {
        {"no file, nowhere to download it from", std::nullopt, std::nullopt, false, false},
        {"no file, a PDF address", QUrl("https://arxiv.org/pdf/x"), std::nullopt, true, false},
        {"a downloaded file", std::nullopt, "%PDF-1.4", true, true},
        // An older version could leave an empty file after a failed write: no PDF.
        {"an empty file", std::nullopt, "", false, false},
        {"an empty file, a PDF address", QUrl("https://arxiv.org/pdf/x"), "", true, false},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const PaperPtr paper = makePaper(QString::number(n++), {"A"}, c.pdfURL);
        if (c.localFile)
            writePdf(paper, *c.localFile);
        OpenFileAction open(env, paper, &parent);
        DeleteFileAction remove(env, paper, &parent);
        EXPECT_EQ(open.isEnabled(), c.canOpen);
        EXPECT_EQ(remove.isEnabled(), c.canDelete);
    }
}

TEST_F(PaperActionsTest, OpeningDownloadsShowsItIsBusyAndEnablesDeleting)
{
    LocalHttpServer server;
    server.setResponse({.status = 200, .body = "%PDF-1.7", .delayMs = 100});
    const PaperPtr paper = makePaper("2301.00001", {"A"}, server.url("/pdf/2301.00001"));
    OpenFileAction open(env, paper, &parent);
    DeleteFileAction remove(env, paper, &parent);
    ASSERT_FALSE(remove.isEnabled());
    QSignalSpy refreshed(&appState(), &AppState::refreshViewChanged);

    open.trigger();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr) << "a download shows that it runs";
    QTRY_COMPARE(refreshed.count(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(t.workspace->opened, QList<QUrl>{paper->localURL()});
    EXPECT_TRUE(remove.isEnabled()) << "the flipped marker made it look again";

    remove.trigger();
    EXPECT_FALSE(QFile::exists(paper->localURL().toLocalFile()));
    EXPECT_FALSE(remove.isEnabled());
    EXPECT_EQ(refreshed.count(), 2);
}

TEST_F(PaperActionsTest, FailuresShowTheAlertAndKeepTheButtonsTrue)
{
    LocalHttpServer server;
    server.setResponse({.status = 404, .body = "gone"});
    const PaperPtr missing = makePaper("2301.00002", {"A"}, server.url("/pdf/2301.00002"));
    OpenFileAction open(env, missing, &parent);
    QSignalSpy refreshed(&appState(), &AppState::refreshViewChanged);
    open.trigger();
    QTRY_VERIFY(!alert().isEmpty());
    EXPECT_TRUE(alert().contains("2301.00002")) << alert().toStdString();
    EXPECT_EQ(refreshed.count(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A folder in the PDF's place cannot be deleted.
    const PaperPtr locked = makePaper("2301.00003");
    const QString path = locked->localURL().toLocalFile();
    QDir().mkpath(path + "/inside");
    t.errorHandler.setCurrentAlert(std::nullopt);
    DeleteFileAction remove(env, locked, &parent);
    ASSERT_TRUE(remove.isEnabled());
    remove.trigger();
    EXPECT_FALSE(alert().isEmpty());
    EXPECT_TRUE(remove.isEnabled());
    EXPECT_EQ(refreshed.count(), 0);
}

TEST_F(PaperActionsTest, AddToOffersEveryListAndLinksWithoutCopies)
{
    const PaperPtr result = makePaper("2301.00004");
    AddToMenu menu(env, result, &parent);
    EXPECT_FALSE(menu.menuAction()->isVisible()) << "nothing while no list is stored";
    auto reading = makeList("Reading");
    EXPECT_TRUE(menu.menuAction()->isVisible());
    auto later = makeList("R&D");
    emit menu.aboutToShow();
    EXPECT_EQ(texts(menu.actions()), (QStringList{"Reading", "R&&D"}));

    menu.actions()[0]->trigger();
    menu.actions()[0]->trigger();   // a list that holds it already: nothing changes
    EXPECT_EQ(reading->paperCount(), 1);
    // Another result for the same paper links the stored one.
    AddToMenu again(env, makePaper("2301.00004"), &parent);
    emit again.aboutToShow();
    again.actions()[1]->trigger();
    EXPECT_EQ(context().fetchCount(Paper::withId("2301.00004")), 1);
    EXPECT_EQ(later->papers()->value(0), result.get());
}

TEST_F(PaperActionsTest, RemovingFollowsTheListsNameAndClearsOnlyItsOwnSelection)
{
    const PaperPtr first = makePaper("first");
    const PaperPtr second = makePaper("second");
    auto list = makeList("Reading", {first, second});
    RemovePaperAction removeFirst(env, first, list, &parent);
    list->setName("Renamed");
    EXPECT_EQ(removeFirst.text(), "Remove from Renamed");
    EXPECT_EQ(removeFirst.toolTip(), "Remove this paper from Renamed");

    appState().setSelectedPaper(second);
    removeFirst.trigger();
    EXPECT_EQ(appState().selectedPaper(), second) << "another paper stays selected";
    EXPECT_EQ(context().fetchCount(Paper::withId("first")), 0);

    // The selection is matched by identifier: a search result for the removed paper goes too.
    appState().setSelectedPaper(makePaper("second"));
    RemovePaperAction(env, second, list, &parent).trigger();
    EXPECT_EQ(appState().selectedPaper(), nullptr);
}

TEST_F(PaperActionsTest, TakeNotesOpensTheEditorOnItsPaper)
{
    const PaperPtr paper = makePaper("p");
    const PaperPtr other = makePaper("other");
    appState().setSelectedPaper(other);
    PaperPtr paperWhenOpened;
    QObject::connect(&appState(), &AppState::showEditorChanged, &parent,
                     [&] { paperWhenOpened = appState().selectedPaper(); });
    TakeNotesAction(env, paper, &parent).trigger();
    EXPECT_TRUE(appState().showEditor());
    EXPECT_EQ(paperWhenOpened, paper) << "the editor opens on the new paper";

    appState().setShowEditor(false);
    TakeNotesAction(env, nullptr, &parent).trigger();
    EXPECT_TRUE(appState().showEditor());
    EXPECT_EQ(appState().selectedPaper(), paper);
}

TEST_F(PaperActionsTest, BrowserAndImporter)
{
    const PaperPtr paper = makePaper("2301.00005");
    OpenBrowserAction(env, paper, &parent).trigger();
    QTRY_COMPARE(t.workspace->opened, QList<QUrl>{QUrl("https://arxiv.org/abs/2301.00005")});
    ImportPaperAction(env, &parent).trigger();
    EXPECT_TRUE(appState().showImporter());
}

TEST_F(PaperActionsTest, AMenuWorksTheStatesOutAgainAsItOpens)
{
    const PaperPtr paper = makePaper("p");
    QMenu menu;
    auto *remove = new DeleteFileAction(env, paper, &menu);
    menu.addAction(remove);
    PaperActions::refreshWhenShown(&menu);
    ASSERT_FALSE(remove->isEnabled());
    writePdf(paper);   // behind the application's back
    emit menu.aboutToShow();
    EXPECT_TRUE(remove->isEnabled());
}
