#include "AppState.h"
#include "QtPrinters.h"
#include "SearchEngines.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(AppState, NotifiesOnlyOnARealChange)
{
    testApp();
    AppState state;
    EXPECT_FALSE(state.selectedListId() || state.selectedPaper() || state.showEditor() || state.showImporter() ||
                 state.newResults() || state.refreshView());

    QSignalSpy listId(&state, &AppState::selectedListIdChanged), paper(&state, &AppState::selectedPaperChanged),
        editor(&state, &AppState::showEditorChanged), importer(&state, &AppState::showImporterChanged),
        refresh(&state, &AppState::refreshViewChanged), results(&state, &AppState::newResultsChanged);
    const QUuid id = QUuid::createUuid();
    for (const auto &value : {std::optional(id), std::optional(QUuid(id.toString())), std::optional<QUuid>(), std::optional<QUuid>()})
        state.setSelectedListId(value);
    const auto a = std::make_shared<Paper>();
    const auto twin = std::make_shared<Paper>(a->id(), a->title(), a->summary(), a->authors(), a->published(), a->doi(),
                                              a->url(), a->pdfURL(), a->comment(), a->notes());
    for (const PaperPtr &value : {a, a, twin, PaperPtr(), PaperPtr()})
        state.setSelectedPaper(value); // papers compare by identity: the twin is a change
    for (bool value : {false, true, true, false}) {
        state.setShowEditor(value);
        state.setShowImporter(value);
        state.setRefreshView(value);
    }
    for (const auto &value : {std::optional<qint64>(), std::optional<qint64>(0), std::optional<qint64>(0),
                              std::optional<qint64>(qint64(1) << 62), std::optional<qint64>()})
        state.setNewResults(value);
    EXPECT_EQ(listId.count(), 2);
    EXPECT_EQ(paper.count(), 3);
    EXPECT_EQ(editor.count(), 2);
    EXPECT_EQ(importer.count(), 2);
    EXPECT_EQ(refresh.count(), 2);
    EXPECT_EQ(results.count(), 3);
}

TEST(AppState, SelectedTitleLooksAtEnginesFirstThenTheGivenLists)
{
    testApp();
    AppState state;
    EXPECT_EQ(state.selectedTitle({}), "");
    const auto reading = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
    const auto namedAds = std::make_shared<PaperList>(QStringLiteral("ADS"), QList<Paper *>{});
    const auto twin = std::make_shared<PaperList>(QStringLiteral("Twin"), QList<Paper *>{});
    twin->setId(reading->id());
    const QList<PaperListPtr> lists{namedAds, reading, twin};
    const std::pair<QUuid, QString> cases[] = {{adsEngineId(), "ADS"}, {arxivEngineId(), "ArXiv"}, {namedAds->id(), "ADS"},
                                               {reading->id(), "Reading"}, {QUuid::createUuid(), ""}};
    for (const auto &[id, title] : cases) {
        state.setSelectedListId(id);
        EXPECT_EQ(state.selectedTitle(lists), title);
    }
}
