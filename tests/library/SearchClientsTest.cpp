#include "AdsActor.h"
#include "ArxivActor.h"
#include "AtomParser.h"
#include "AwaitTask.h"
#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "RealData.h"
#include "SearchError.h"
#include "TestMain.h"
#include "TransportError.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString token = QStringLiteral("Zt9Lm4Qa7Rw2Xc8Vb5Nk1Hj6Gf3Ds0Pe9Ou4Iy7T");
const QByteArray emptyFeed = "<feed xmlns='http://www.w3.org/2005/Atom'/>";
const QString bigFeedFile = QStringLiteral("arxiv/arxivpy_2026-04_newapi_search_testing_start0_max100.xml");
const QByteArray bigFeed = realData(bigFeedFile);

class SearchClientsTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;
    ArxivActor arxiv{server.url("/api/query").toString(), 5s};
    AdsActor ads{server.url("/v1/search/query").toString(), token, 5s};
    LogCapture log;

    // The description the user reads: each kind of SearchError has its own.
    template<typename T>
    static QString failure(QCoro::Task<T> task) { return awaitFailure<SearchError>(std::move(task)).value().description(); }
};

} // namespace

TEST_F(SearchClientsTest, RequestsCarryTheirItemsInOrderAndEncoded)
{
    server.setResponse({.body = emptyFeed});
    const QString text = QString::fromUtf8("au:del_maestro AND ti:\"Ünï\" a+b/c&d=e#f%");
    EXPECT_TRUE(awaitTask(arxiv.search(text, 100)).isEmpty());
    const auto &request = server.requests().last();
    EXPECT_EQ(request.path, "/api/query");
    EXPECT_EQ(request.rawQuery, "search_query=au:del_maestro%20AND%20ti:%22%C3%9Cn%C3%AF%22%20a+b/c%26d%3De%23f%25"
                                "&max_results=100&sortBy=submittedDate&sortOrder=descending");
    EXPECT_EQ(request.queryItems.first().second, text);
    EXPECT_TRUE(request.header("Authorization").isNull());
    EXPECT_EQ(log.lines().first(), "Brivet: ArXiv request URL: " + server.url().toString(QUrl::RemovePath) +
                                       QString::fromLatin1(request.target));

    server.setResponse({.body = R"({"response":{"docs":[]}})"});
    EXPECT_TRUE(awaitTask(ads.search("", 100)).isEmpty());
    EXPECT_EQ(server.requests().last().rawQuery,
              "q=&rows=100&fl=abstract,author,comment,date,doi,identifier,title&sort=date%20desc");
    EXPECT_EQ(server.requests().last().header("Authorization"), "Bearer " + token.toUtf8());
    EXPECT_EQ(log.lines().last(), "Brivet: Parsed 0 papers from ADS JSON");
}

TEST_F(SearchClientsTest, StatusAndContentFailures)
{
    const QString invalidResponse = "Invalid response received", missingData = "Some data is missing from the api's response";
    for (int status : {401, 404, 500}) {
        LogCapture statusLog;
        server.setResponse({.status = status, .body = bigFeed});
        EXPECT_EQ(failure(arxiv.search("x", 100)), invalidResponse);
        EXPECT_EQ(failure(ads.search(token, 100)), invalidResponse);
        const QStringList lines = statusLog.lines();
        EXPECT_TRUE(lines.contains(QStringLiteral("Brivet: ArXiv HTTP error: %1").arg(status)));
        EXPECT_EQ(lines.last(), QStringLiteral("Brivet: ADS HTTP error: %1").arg(status));
        EXPECT_TRUE(lines.filter("Brivet: XML").isEmpty()) << "the body of an error is not parsed";
        for (const QString &line : lines)
            EXPECT_FALSE(line.contains(token)) << line.toStdString();
    }
    server.setResponse({.body = "<feed><entry>cut"});
    EXPECT_TRUE(failure(arxiv.search("x", 100)).startsWith("Error parsing data: "));
    EXPECT_EQ(failure(ads.search("x", 100)), missingData);
    server.setResponse({.body = realData("ads/andycasey-ads_2015_first_author_sudilovsky_28docs.json")});
    EXPECT_EQ(failure(ads.search("x", 100)), missingData);
    EXPECT_TRUE(log.lines().filter("Brivet: Parsed").isEmpty());
    // Not an HTTP answer at all.
    EXPECT_EQ(failure(ArxivActor(QUrl::fromLocalFile(BRIVET_TEST_DATA_DIR "/" + bigFeedFile).toString()).search("x", 100)),
              invalidResponse);
    EXPECT_EQ(log.lines().last(), "Brivet: ArXiv HTTP error: 0");
}

TEST_F(SearchClientsTest, OverlappingSearchesKeepTheirOwnResultsParsedOffThisThread)
{
    server.setResponder([](const LocalHttpServer::Request &request) {
        const bool slow = request.queryItems.first().second == "slow";
        return LocalHttpServer::Response{.body = slow ? bigFeed : emptyFeed, .delayMs = slow ? 300 : 0};
    });
    auto both = [this]() -> QCoro::Task<std::pair<QList<SearchRecord>, QList<SearchRecord>>> {
        auto slow = arxiv.search("slow", 100);
        auto fast = arxiv.search("fast", 100);
        const auto fastResult = co_await fast;
        co_return std::pair(co_await slow, fastResult);
    };
    const auto [slow, fast] = awaitTask(both());
    EXPECT_EQ(slow, ArxivActor::AtomParser().parse(bigFeed));
    EXPECT_TRUE(fast.isEmpty());
    const QStringList lines = log.lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Brivet: ArXiv response: %1 bytes, status: 200").arg(bigFeed.size())));
    EXPECT_TRUE(lines.contains("Brivet: Parsed 100 papers from ArXiv XML"));
    QThread *parsing = log.threadOf("Brivet: XML parsing succeeded, found 100 papers");
    EXPECT_TRUE(parsing && parsing != QThread::currentThread());
    EXPECT_EQ(log.threadOf("Brivet: Parsed 100"), QThread::currentThread());
}

TEST_F(SearchClientsTest, UrlAndTransportFailures)
{
    EXPECT_EQ(failure(ArxivActor("not a url").search("x", 100)), "Invalid URL");
    EXPECT_EQ(failure(AdsActor("http://exa mple.org/", token).search("x", 100)), "Invalid URL");
    EXPECT_TRUE(log.lines().isEmpty());

    // The ADS request's own 60 seconds do not lift the session's shorter limit.
    server.setResponse({.body = {}, .behaviour = LocalHttpServer::Response::Behaviour::stall});
    EXPECT_THROW(awaitTask(ArxivActor(server.url().toString(), 200ms).search("x", 100)), TransportError);
    EXPECT_THROW(awaitTask(AdsActor(server.url().toString(), token, 200ms).search("x", 100)), TransportError);
}
