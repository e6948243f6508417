// The whole application, tried the way a user goes through it, through the real window: the local
// server stands in for arXiv, ADS and the PDF host, the recording workspace for the desktop's
// opener, and the user's folders are fresh. Every step checks what the user would see.
#include "AppFolders.h"
#include "AppView.h"
#include "ContentView.h"
#include "EnvironmentVariable.h"
#include "MathBlock.h"
#include "ModelQuery.h"
#include "NoteEditorView.h"
#include "PaperDetailView.h"
#include "PaperImporterView.h"
#include "PaperListModel.h"
#include "PaperListView.h"
#include "PlaceholderView.h"
#include "RealData.h"
#include "RoundIconButton.h"
#include "SearchEngines.h"
#include "SearchField.h"
#include "SidebarModel.h"
#include "SidebarView.h"
#include "StructuredText.h"
#include "ViewTestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

namespace {

const QByteArray pdfBytes = "%PDF-1.4 served by the stand-in host";

class EndToEndTest : public BrivetAppTest {
protected:
    static void SetUpTestSuite()
    {
        server = new LocalHttpServer;
        arxivURL.emplace("BRIVET_ARXIV_API_URL", server->url("/api/query").toEncoded());
        adsURL.emplace("BRIVET_ADS_API_URL", server->url("/v1/search/query").toEncoded());
        adsToken.emplace("BRIVET_ADS_TOKEN", "TestTokenForTheViews");
        // The recorded feed, with its PDF links on the stand-in host.
        const QByteArray feed = realData("arxiv/arxivpy_2026-04_newapi_search_testing_start0_max10.xml")
                                    .replace("https://arxiv.org/pdf/", server->url("/pdf/").toEncoded());
        const QByteArray ads = realData("ads/export_service_data_4_publisher_fl_all_date_comment.json");
        server->setResponder([feed, ads](const LocalHttpServer::Request &request) {
            LocalHttpServer::Response response;
            if (request.path.startsWith(QLatin1String("/api/query")))
                response.body = feed;
            else if (request.path.startsWith(QLatin1String("/v1/search/query")))
                response.body = ads;
            else if (request.path.startsWith(QLatin1String("/pdf/")))
                response.body = pdfBytes;
            else
                response.status = 404;
            return response;
        });
    }
    static void TearDownTestSuite()
    {
        arxivURL.reset();
        adsURL.reset();
        adsToken.reset();
        delete server;
        server = nullptr;
    }
    static inline LocalHttpServer *server = nullptr;
    static inline std::optional<EnvironmentVariable> arxivURL, adsURL, adsToken;

    EndToEndTest()
    {
        for (SearchEngine *engine : searchEngines())
            engine->setPapers(std::nullopt);
        picked = files.filePath(QStringLiteral("hand-written.pdf"));
        TemporaryDataFolder::write(picked, "%PDF-1.4 picked by hand");
    }

    void launch()
    {
        window = openWindow();
        activate();
    }
    void relaunch()
    {
        window = nullptr;
        app.reset();
        app = std::make_unique<BrivetApp>(LibrarySchema::configuration(store.path()));
        launch();
    }
    void activate()
    {
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }

    AppView *appView() const { return window->appView(); }
    SidebarView *sidebar() const { return window->findChild<SidebarView *>(); }
    ContentView *content() const { return window->findChild<ContentView *>(); }
    PaperListView *paperList() const { return content()->paperListView(); }
    PaperDetailView *detail() const { return qobject_cast<PaperDetailView *>(appView()->detail()); }

    void clickSidebarRow(const QUuid &id)
    {
        QTreeView *tree = sidebar()->treeView();
        const QModelIndex row = sidebar()->model()->indexOf(id);
        ASSERT_TRUE(row.isValid());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(row).center());
    }
    void clickPaperRow(int row)
    {
        const QModelIndex index = paperList()->model()->index(row, 0);
        QTest::mouseClick(paperList()->viewport(), Qt::LeftButton, {}, paperList()->visualRect(index).center());
    }
    void search(const QString &text)
    {
        SearchField *field = appView()->searchField();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return appView()->runningSearches() == 0; }, 10000));
    }
    int rowsShown() const { return paperList()->model() ? paperList()->model()->rowCount() : 0; }
    // A button of the content column's tool bar or of the detail's action bar, by its label.
    static QToolButton *button(QWidget *in, const QString &text)
    {
        for (auto *candidate : in->findChildren<QToolButton *>()) {
            if (candidate->isVisibleTo(in) && candidate->defaultAction()
                && candidate->defaultAction()->text() == text)
                return candidate;
        }
        return nullptr;
    }
    // Presses it once it is on screen (a tool bar lays out its new buttons on the next turn).
    void press(QWidget *in, const QString &text)
    {
        (void)QTest::qWaitFor([&] { return button(in, text) != nullptr; }, 2000);
        QToolButton *found = button(in, text);
        ASSERT_TRUE(found) << text.toStdString();
        ASSERT_TRUE(found->isEnabled()) << text.toStdString();
        QTest::mouseClick(found, Qt::LeftButton);
    }
    // Types into a plain-text editor, a line break being the Return key.
    static void typeLines(QWidget *editor, const QStringList &lines)
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(editor, Qt::Key_Return);
            QTest::keyClicks(editor, lines[i]);
        }
    }
    static void fill(PaperImporterView *form, const char *name, const QString &text)
    {
        auto *field = form->findChild<QLineEdit *>(QLatin1String(name));
        ASSERT_TRUE(field) << name;
        QTest::keyClicks(field, text);
    }
    static QStringList pdfsUnder(const QString &root)
    {
        QStringList found;
        QDirIterator all(root, {QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (all.hasNext())
            found << all.next();
        return found;
    }

    MainWindow *window = nullptr;
    TemporaryDataFolder files;
    QString picked;
};

} // namespace

TEST_F(EndToEndTest, FromTheFirstLaunchToARelaunch)
{
    // A first launch: the welcome, the two engines and no lists, nothing to inspect.
    launch();
    EXPECT_EQ(content()->shown(), ContentView::Shown::welcome);
    EXPECT_EQ(content()->placeholderView()->title(), QStringLiteral("Welcome to Brivet"));
    SidebarModel *rows = sidebar()->model();
    EXPECT_EQ(rows->rowCount(rows->sectionIndex(SidebarModel::enginesSection)), 2);
    EXPECT_EQ(rows->rowCount(rows->sectionIndex(SidebarModel::librarySection)), 0);
    EXPECT_TRUE(qobject_cast<PlaceholderView *>(appView()->detail()));

    // A search of each engine shows its results.
    clickSidebarRow(adsEngineId());
    search(QStringLiteral("galaxies"));
    EXPECT_EQ(content()->shown(), ContentView::Shown::papers);
    EXPECT_EQ(rowsShown(), 1);
    clickSidebarRow(arxivEngineId());
    EXPECT_EQ(content()->shown(), ContentView::Shown::ready) << "arXiv has not been searched yet";
    search(QStringLiteral("testing"));
    ASSERT_EQ(rowsShown(), 10);
    const PaperPtr result = searchEngines().at(0)->papers()->at(0);
    EXPECT_EQ(paperList()->model()->index(0, 0).data().toString(), result->title());

    // "New List", renamed in place.
    sidebar()->newListAction()->trigger();
    ASSERT_EQ(rows->lists().size(), 1);
    const PaperListPtr list = rows->lists().first();
    EXPECT_EQ(list->name(), QStringLiteral("Untitled"));
    QTest::keyClick(sidebar()->treeView()->viewport(), Qt::Key_F2);
    auto *name = sidebar()->treeView()->findChild<QLineEdit *>();
    ASSERT_TRUE(name);
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Reading"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(rows->indexOf(list->id()).data().toString(), QStringLiteral("Reading"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Reading"));

    // The first result dragged onto the list, through the models' MIME data.
    clickSidebarRow(arxivEngineId());
    ASSERT_EQ(rowsShown(), 10);
    std::unique_ptr<QMimeData> dragged(paperList()->model()->mimeData({paperList()->model()->index(0, 0)}));
    ASSERT_TRUE(dragged);
    ASSERT_TRUE(rows->canDropMimeData(dragged.get(), Qt::CopyAction, -1, -1, rows->indexOf(list->id())));
    ASSERT_TRUE(rows->dropMimeData(dragged.get(), Qt::CopyAction, -1, -1, rows->indexOf(list->id())));
    EXPECT_EQ(rows->indexOf(list->id()).data(SidebarModel::paperCountRole).toInt(), 1);

    // The list and its paper selected: the detail shows the paper.
    clickSidebarRow(list->id());
    ASSERT_EQ(rowsShown(), 1);
    clickPaperRow(0);
    ASSERT_TRUE(detail());
    const PaperPtr paper = detail()->paper();
    EXPECT_EQ(paper->id(), result->id());
    EXPECT_NE(paper, result) << "the list holds the stored copy";
    EXPECT_FALSE(detail()->showsNote());

    // Notes with a heading, a list and a formula, saved.
    press(content()->toolBar(), QStringLiteral("Take Notes"));
    ASSERT_TRUE(appView()->editorSheet());
    auto *editor = appView()->editorSheet()->findChild<NoteEditorView *>();
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->modifiedNotes(), NoteEditorView::kDefaultNote);
    auto *text = editor->findChild<QPlainTextEdit *>();
    text->selectAll();
    typeLines(text, {QStringLiteral("# Why it matters"), QString(), QStringLiteral("- first point"),
                     QStringLiteral("- second point"), QString(), QStringLiteral("```math"),
                     QStringLiteral("E = mc^2"), QStringLiteral("```")});
    QTest::mouseClick(editor->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
    QTRY_VERIFY(!appView()->editorSheet());
    EXPECT_FALSE(app->appState().showEditor());

    // The detail shows the note rendered, the formula typeset.
    ASSERT_TRUE(detail()->showsNote());
    StructuredText *note = detail()->noteView();
    note->finishLayout();
    EXPECT_TRUE(note->document().text().contains(QStringLiteral("Why it matters")));
    EXPECT_TRUE(note->document().text().contains(QStringLiteral("second point")));
    if (MathBlock::isAvailable()) {
        EXPECT_EQ(note->currentLayout()->formulas().size(), 1u);
    }

    // Open the PDF: downloaded from the host into the documents folder, then handed to the desktop.
    const QString pdf = paper->localURL().toLocalFile();
    EXPECT_EQ(QFileInfo(pdf).absolutePath(), QDir(AppFolders::documents()).absolutePath());
    EXPECT_FALSE(button(detail(), QStringLiteral("Delete PDF"))->isEnabled());
    press(detail(), QStringLiteral("Open PDF"));
    QTRY_COMPARE_WITH_TIMEOUT(workspace->opened.size(), 1, 10000);
    EXPECT_EQ(workspace->opened.first(), QUrl::fromLocalFile(pdf));
    EXPECT_EQ(TemporaryDataFolder::readAll(pdf), pdfBytes);
    QTRY_VERIFY(button(detail(), QStringLiteral("Delete PDF"))->isEnabled());

    // Delete it.
    press(detail(), QStringLiteral("Delete PDF"));
    EXPECT_FALSE(QFileInfo::exists(pdf));
    QTRY_VERIFY(!button(detail(), QStringLiteral("Delete PDF"))->isEnabled());

    // Import a paper by hand, with a file picked in the file dialog.
    press(content()->toolBar(), QStringLiteral("Import paper"));
    ASSERT_TRUE(content()->importerSheet());
    auto *form = content()->importerSheet()->findChild<PaperImporterView *>();
    ASSERT_TRUE(form);
    EXPECT_EQ(form->findChild<QLabel *>(QStringLiteral("heading"))->text(), QStringLiteral("Import to Reading"));
    fill(form, "identifier", QStringLiteral("hand-001"));
    fill(form, "title", QStringLiteral("A paper no search finds"));
    fill(form, "abstract", QStringLiteral("Written down by hand."));
    fill(form, "author0", QStringLiteral("A. Hand"));
    fill(form, "webpage", QStringLiteral("https://example.org/hand-001"));
    form->selectFile();
    ASSERT_TRUE(form->fileDialog());
    form->fileDialog()->selectFile(picked);
    static_cast<QDialog *>(form->fileDialog())->accept();
    QSignalSpy imported(form, &PaperImporterView::importFinished);
    QTest::mouseClick(form->findChild<RoundIconButton *>(QStringLiteral("confirm")), Qt::LeftButton);
    if (imported.isEmpty()) {
        ASSERT_TRUE(imported.wait(10000));
    }
    QTRY_VERIFY(!content()->importerSheet());
    ASSERT_EQ(rowsShown(), 2);
    const PaperPtr handMade = paperList()->paperModel()->paperAt(1);
    EXPECT_EQ(handMade->id(), QStringLiteral("hand-001"));
    const QString handPdf = handMade->localURL().toLocalFile();
    EXPECT_EQ(TemporaryDataFolder::readAll(handPdf), QByteArray("%PDF-1.4 picked by hand"));

    // Remove both papers from the list.
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        clickPaperRow(0);
        ASSERT_TRUE(detail());
        press(content()->toolBar(), QStringLiteral("Remove from Reading"));
        QTRY_VERIFY(!detail());
    }
    EXPECT_EQ(content()->shown(), ContentView::Shown::emptyList);
    EXPECT_FALSE(QFileInfo::exists(handPdf)) << "a paper that no list holds goes with its PDF";

    // Quit and relaunch: the list and its name are there; the papers and their PDFs are not.
    const QString removedId = paper->id();
    relaunch();
    const QList<PaperListPtr> lists = sidebar()->model()->lists();
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists.first()->name(), QStringLiteral("Reading"));
    EXPECT_EQ(ModelQuery(app->modelContext(), Paper::entityDescription()).resultsAs<Paper>().size(), 0);
    EXPECT_EQ(app->modelContext().fetchCount(Paper::withId(removedId)), 0);
    EXPECT_TRUE(pdfsUnder(folders.root()).isEmpty()) << pdfsUnder(folders.root()).join(", ").toStdString();
    clickSidebarRow(lists.first()->id());
    EXPECT_EQ(content()->shown(), ContentView::Shown::emptyList);
}
