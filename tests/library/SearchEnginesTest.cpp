#include "AtomParser.h"
#include "AwaitTask.h"
#include "EnvironmentVariable.h"
#include "LocalHttpServer.h"
#include "PaperList.h"
#include "QtPrinters.h"
#include "RealData.h"
#include "SearchEngines.h"
#include "SearchError.h"
#include "TestMain.h"

#include <QThread>
#include <gtest/gtest.h>

#include <thread>

namespace {

// One server for the process: the shared clients read their endpoints once.
class SearchEnginesTest : public ::testing::Test {
protected:
    struct Services {
        LocalHttpServer server;
        EnvironmentVariable arxiv{"BRIVET_ARXIV_API_URL", server.url("/api/query").toEncoded()};
        EnvironmentVariable ads{"BRIVET_ADS_API_URL", server.url("/v1/search/query").toEncoded()};
        EnvironmentVariable token{"BRIVET_ADS_TOKEN", "TestToken"};
    };
    static void SetUpTestSuite()
    {
        testApp();
        services = new Services;
        server = &services->server;
    }
    static void TearDownTestSuite() { delete services; }
    static SearchEngine &engine(int index) { return *searchEngines().at(index); }
    static inline Services *services = nullptr;
    static inline LocalHttpServer *server = nullptr;
};

} // namespace

TEST_F(SearchEnginesTest, TwoEnginesMadeOnceInSidebarOrder)
{
    std::vector<const QList<SearchEngine *> *> seen(8);
    std::vector<std::thread> threads;
    for (auto &engines : seen)
        threads.emplace_back([&engines] { engines = &searchEngines(); });
    for (auto &t : threads)
        t.join();
    for (const auto *engines : seen)
        EXPECT_EQ(*engines, searchEngines());

    ASSERT_EQ(searchEngines().size(), 2);
    // Fixed identifiers: a selection must name the same engine on every launch.
    EXPECT_EQ(engine(0).name(), "ArXiv");
    EXPECT_EQ(engine(0).id(), QUuid("80169889-bb67-4577-b477-1db120c1062d"));
    EXPECT_EQ(engine(1).name(), "ADS");
    EXPECT_EQ(engine(1).id(), QUuid("46234a1b-de6a-40ea-8914-20d7d4b11541"));
    EXPECT_TRUE(isSearchEngine(engine(0).id()) && isSearchEngine(engine(1).id()));
    EXPECT_FALSE(isSearchEngine(QUuid()) || isSearchEngine(PaperList().id()));
}

TEST_F(SearchEnginesTest, RunQueryGivesTheServedPapersMadeOnTheCallingThread)
{
    const QByteArray feed = realData("arxiv/arxivpy_2026-04_newapi_search_testing_start0_max10.xml");
    server->setResponse({.body = feed});
    const QList<PaperPtr> papers = awaitTask(engine(0).runQuery("  all:testing "));
    EXPECT_EQ(server->requests().last().queryItems.first().second, "  all:testing ") << "sent exactly as typed";
    EXPECT_EQ(server->requests().last().queryItems.at(1).second, "100");
    EXPECT_FALSE(engine(0).papers()) << "runQuery stores nothing";

    const QList<SearchRecord> expected = ArxivActor::AtomParser().parse(feed);
    ASSERT_EQ(papers.size(), expected.size());
    for (qsizetype i = 0; i < papers.size(); ++i) {
        const Paper &p = *papers[i];
        EXPECT_EQ(SearchRecord({p.id(), p.title(), p.summary(), p.authors(), p.published(), p.doi(), p.url(),
                                p.pdfURL(), p.comment(), p.notes()}), expected[i]);
        EXPECT_EQ(p.thread(), QThread::currentThread());
        EXPECT_EQ(p.modelContext(), nullptr);
    }
}

TEST_F(SearchEnginesTest, AdsSearchesWithTheTokenAndErrorsPassThrough)
{
    server->setResponse({.body = realData("ads/export_service_data_4_publisher_fl_all_date_comment.json")});
    const QList<PaperPtr> ads = awaitTask(engine(1).runQuery("bibcode:x"));
    ASSERT_EQ(ads.size(), 1);
    EXPECT_EQ(ads.first()->id(), "2025romanrept..742B");
    EXPECT_EQ(server->requests().last().header("Authorization"), "Bearer TestToken");
    server->setResponse({.status = 503, .body = "busy"});
    EXPECT_THROW(awaitTask(engine(1).runQuery("again")), SearchError);
}
