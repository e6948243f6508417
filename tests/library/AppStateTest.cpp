#include "AppState.h"
#include "QtPrinters.h"
#include "SearchEngines.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class AppStateTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp();
    AppState state;
};

} // namespace

TEST_F(AppStateTest, StartsCleared)
{
    EXPECT_FALSE(state.selectedListId());
    EXPECT_EQ(state.selectedPaper(), nullptr);
    EXPECT_FALSE(state.showEditor());
    EXPECT_FALSE(state.showImporter());
    EXPECT_FALSE(state.newResults());
    EXPECT_FALSE(state.refreshView());
    EXPECT_EQ(state.selectedTitle({}), "");
}

TEST_F(AppStateTest, NotifiesOnlyOnARealChange)
{
    QSignalSpy listId(&state, &AppState::selectedListIdChanged);
    const QUuid id = QUuid::createUuid();
    state.setSelectedListId(id);
    state.setSelectedListId(QUuid(id.toString())); // equal by value
    state.setSelectedListId(std::nullopt);
    state.setSelectedListId(std::nullopt);
    EXPECT_EQ(listId.count(), 2);

    QSignalSpy paper(&state, &AppState::selectedPaperChanged);
    const auto a = std::make_shared<Paper>();
    const auto twin = std::make_shared<Paper>(a->id(), a->title(), a->summary(), a->authors(), a->published(), a->doi(),
                                              a->url(), a->pdfURL(), a->comment(), a->notes());
    state.setSelectedPaper(a);
    state.setSelectedPaper(a);
    state.setSelectedPaper(twin); // same values, another object: a change
    state.setSelectedPaper(nullptr);
    state.setSelectedPaper(nullptr);
    EXPECT_EQ(paper.count(), 3);

    QSignalSpy editor(&state, &AppState::showEditorChanged);
    QSignalSpy importer(&state, &AppState::showImporterChanged);
    QSignalSpy refresh(&state, &AppState::refreshViewChanged);
    for (bool value : {false, true, true, false}) {
        state.setShowEditor(value);
        state.setShowImporter(value);
        state.setRefreshView(value);
    }
    EXPECT_EQ(editor.count(), 2);
    EXPECT_EQ(importer.count(), 2);
    EXPECT_EQ(refresh.count(), 2);

    QSignalSpy results(&state, &AppState::newResultsChanged);
    state.setNewResults(std::nullopt);
    EXPECT_EQ(results.count(), 0) << "absent to absent";
    state.setNewResults(0);
    EXPECT_EQ(results.count(), 1) << "absent to a number, even zero";
    state.setNewResults(0);
    state.setNewResults(qint64(1) << 62);
    state.setNewResults(std::nullopt);
    EXPECT_EQ(results.count(), 3);
}

TEST_F(AppStateTest, SelectedTitleLooksAtEnginesFirstThenTheGivenLists)
{
    const auto reading = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
    const auto namedAds = std::make_shared<PaperList>(QStringLiteral("ADS list"), QList<Paper *>{});
    namedAds->setName("ADS");
    const auto twin = std::make_shared<PaperList>(QStringLiteral("Twin"), QList<Paper *>{});
    twin->setId(reading->id());
    const QList<PaperListPtr> lists{namedAds, reading, twin};

    state.setSelectedListId(adsEngineId());
    EXPECT_EQ(state.selectedTitle(lists), "ADS");
    state.setSelectedListId(arxivEngineId());
    EXPECT_EQ(state.selectedTitle(lists), "ArXiv");
    state.setSelectedListId(namedAds->id());
    EXPECT_EQ(state.selectedTitle(lists), "ADS");
    state.setSelectedListId(reading->id());
    EXPECT_EQ(state.selectedTitle(lists), "Reading") << "the first list with the id wins";
    reading->setName("Renamed");
    EXPECT_EQ(state.selectedTitle(lists), "Renamed");
    EXPECT_EQ(state.selectedTitle({}), "");
    state.setSelectedListId(QUuid::createUuid());
    EXPECT_EQ(state.selectedTitle(lists), "");
}
