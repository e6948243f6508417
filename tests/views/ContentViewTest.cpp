#include "ColumnsTestSupport.h"

#include "ContentView.h"
#include "DataManager.h"
#include "PaperListModel.h"
#include "PaperListView.h"
#include "PlaceholderView.h"
#include "SidebarView.h"

#include <QDialog>
#include <QSignalSpy>
#include <QStackedWidget>

namespace {

class ContentViewTest : public ColumnsTest {
protected:
    ContentViewTest()
    {
        window.resize(700, 500);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QStringList toolBar() { return texts(content->toolBar()->actions()); }
    PaperListModel *rows() { return content->paperListView()->paperModel(); }

    QWidget window;
    ContentView *content = new ContentView(env, &window);
};

} // namespace

TEST_F(ContentViewTest, WhatTheColumnShowsForEachSelection)
{
    using Shown = ContentView::Shown;
    const PaperPtr result = makePaper("2401.00001");
    auto reading = makeList("Reading", {makePaper("p1"), makePaper("p2")});
    auto empty = makeList("Empty");
    const struct {
        const char *name;
        std::function<void()> arrange;
        Shown shown;
        QString title;     // the column's navigation title
        QString heading;   // the placeholder's title, when one shows
        QString sentence;
        QStringList toolBar;
    } cases[] = {
        {"nothing selected", [&] { appState().setSelectedListId(std::nullopt); }, Shown::welcome, "Brivet",
         "Welcome to Brivet",
         "Select a search engine or a list from the sidebar, or create a new list to get started", {}},
        {"an engine that has not searched", [&] { appState().setSelectedListId(arxivEngineId()); }, Shown::ready,
         "ArXiv", "Ready to rumble", "Use the search bar to search ArXiv for papers", {}},
        {"an engine whose search found nothing",
         [&] {
             showResults(searchEngines()[1], {}, appState());
             appState().setSelectedListId(adsEngineId());
         },
         Shown::noResults, "ADS", "No luck", "Your search didn't return any results", {}},
        {"results, no paper selected",
         [&] {
             showResults(searchEngines()[0], {result}, appState());
             appState().setSelectedListId(arxivEngineId());
         },
         Shown::papers, "ArXiv", {}, {}, {}},
        {"results with a paper selected", [&] { appState().setSelectedPaper(result); }, Shown::papers, "ArXiv", {}, {},
         {"Add To"}},
        {"an empty list",
         [&] {
             appState().setSelectedListId(empty->id());
             appState().setSelectedPaper(nullptr);   // as the sidebar does
         },
         Shown::emptyList, "Empty",
         "Nothing to see here", "This list is empty, use the search engines and add papers to this list",
         {"Import paper"}},
        {"a list, no paper selected", [&] { appState().setSelectedListId(reading->id()); }, Shown::papers, "Reading",
         {}, {}, {"Import paper"}},
        {"a list with a paper selected", [&] { appState().setSelectedPaper(pointer(reading->papers()->first())); },
         Shown::papers, "Reading", {}, {}, {"Import paper", "Take Notes", "Add To", "Remove from Reading"}},
        {"a list that is no longer stored", [&] { appState().setSelectedListId(QUuid::createUuid()); },
         Shown::nothing, "", {}, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        EXPECT_EQ(content->shown(), c.shown);
        EXPECT_EQ(content->navigationTitle(), c.title);
        EXPECT_EQ(window.windowTitle(), c.title.isEmpty() ? "Brivet" : c.title);
        if (!c.heading.isEmpty()) {
            EXPECT_TRUE(content->placeholderView()->isVisible());
            EXPECT_EQ(content->placeholderView()->title(), c.heading);
            EXPECT_EQ(content->placeholderView()->sentence(), c.sentence);
        }
        EXPECT_EQ(content->paperListView()->isVisible(), c.shown == Shown::papers);
        EXPECT_EQ(toolBar(), c.toolBar);
    }
}

TEST_F(ContentViewTest, WithoutListsTheResultsOfferNoAddToMenu)
{
    const PaperPtr result = makePaper("r");
    showResults(searchEngines()[0], {result}, appState());
    appState().setSelectedListId(arxivEngineId());
    appState().setSelectedPaper(result);
    EXPECT_EQ(toolBar(), QStringList{});
    makeList("First");
    EXPECT_EQ(toolBar(), QStringList{"Add To"});
}

TEST_F(ContentViewTest, TheShownListIsFollowedRowByRow)
{
    auto reading = makeList("Reading", {makePaper("a"), makePaper("b")});
    appState().setSelectedListId(reading->id());
    PaperListModel *model = rows();
    ASSERT_NE(model, nullptr);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    content->paperListView()->setCurrentIndex(model->index(1));
    const PaperPtr b = model->paperAt(1);
    ASSERT_EQ(appState().selectedPaper(), b);

    t.dataManager.add(makePaper("c"), reading.get());
    t.dataManager.remove(model->paperAt(0).get(), reading.get());
    reading->setName("Renamed");

    EXPECT_EQ(rows(), model) << "the same rows, moved one at a time";
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(model->paperAt(0), b);
    EXPECT_EQ(content->paperListView()->selectedPaper(), b);
    EXPECT_EQ(content->navigationTitle(), "Renamed");
    EXPECT_EQ(window.windowTitle(), "Renamed");
    EXPECT_EQ(toolBar().last(), "Remove from Renamed");

    // Emptied, the list shows its placeholder; deleted, the column shows nothing.
    for (const PaperPtr &paper : {model->paperAt(0), model->paperAt(1)})
        t.dataManager.remove(paper.get(), reading.get());
    EXPECT_EQ(content->shown(), ContentView::Shown::emptyList);
    context().deleteObject(reading.get());
    EXPECT_EQ(content->shown(), ContentView::Shown::nothing);
    EXPECT_EQ(window.windowTitle(), "Brivet");
}

TEST_F(ContentViewTest, DeletingTheShownListFromTheSidebarBringsBackTheWelcome)
{
    SidebarView sidebar(env);
    auto reading = makeList("Reading", {makePaper("a")});
    appState().setSelectedListId(reading->id());
    sidebar.deleteList(reading);
    EXPECT_EQ(content->shown(), ContentView::Shown::welcome);
    EXPECT_EQ(window.windowTitle(), "Brivet");
}

TEST_F(ContentViewTest, NewResultsBringNewRowsAndTheSameResultsKeepThem)
{
    showResults(searchEngines()[0], {makePaper("1"), makePaper("2")}, appState());
    appState().setSelectedListId(arxivEngineId());
    PaperListModel *first = rows();
    ASSERT_EQ(first->rowCount(), 2);
    appState().setSelectedListId(adsEngineId());
    appState().setSelectedListId(arxivEngineId());
    EXPECT_EQ(rows()->rowCount(), 2);
    showResults(searchEngines()[0], {makePaper("3")}, appState());
    EXPECT_EQ(rows()->rowCount(), 1);
    EXPECT_EQ(rows()->paperAt(0)->id(), "3");
}

TEST_F(ContentViewTest, ALongStoredListReadsOnlyTheRowsOnScreen)
{
    {
        auto list = makeList("Long");
        context().transaction([&] {
            for (int i = 0; i < 2000; ++i)
                list->addPaper(makePaper(QString::number(i)).get());
        });
    }
    // A fresh start, so that nothing of the list has been read yet.
    ModelContainer relaunched(LibrarySchema::schema(), LibrarySchema::configuration(t.store.path()));
    DataManager dataManager(relaunched.mainContext());
    ViewEnvironment fresh{relaunched.mainContext(), t.appState, dataManager, t.errorHandler, *t.workspace, t.pasteboard};
    QWidget host;
    host.resize(700, 500);
    auto *column = new ContentView(fresh, &host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const auto lists = ModelQuery(relaunched.mainContext(), PaperList::entityDescription()).resultsAs<PaperList>();
    appState().setSelectedListId(lists[0]->id());
    paint(host);
    const QList<Paper *> papers = lists[0]->papers().value_or(QList<Paper *>{});
    const auto read = std::count_if(papers.begin(), papers.end(), [](Paper *p) { return !p->isFault(); });
    const int onScreen = column->paperListView()->viewport()->height() / column->paperListView()->sizeHintForRow(0) + 1;
    EXPECT_GT(read, 0);
    EXPECT_LE(read, onScreen + 1);
    appState().setSelectedListId(std::nullopt);
}

TEST_F(ContentViewTest, TheImporterOpensOnlyWhileAListIsShown)
{
    auto reading = makeList("Reading");
    showResults(searchEngines()[0], {makePaper("r")}, appState());
    appState().setSelectedListId(arxivEngineId());
    appState().setShowImporter(true);
    EXPECT_EQ(content->importerSheet(), nullptr);
    appState().setShowImporter(false);

    appState().setSelectedListId(reading->id());
    ASSERT_EQ(texts(content->toolBar()->actions()), QStringList{"Import paper"});
    content->toolBar()->actions().first()->trigger();
    EXPECT_TRUE(appState().showImporter());
    QDialog *sheet = content->importerSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    sheet->reject();
    EXPECT_FALSE(appState().showImporter()) << "dismissing the sheet clears the flag";
    QTRY_COMPARE(content->importerSheet(), nullptr);

    // A sheet open when the list stops being shown goes too.
    appState().setShowImporter(true);
    ASSERT_NE(content->importerSheet(), nullptr);
    appState().setSelectedListId(arxivEngineId());
    QTRY_COMPARE(content->importerSheet(), nullptr);
}
