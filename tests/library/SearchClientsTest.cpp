#include "AdsActor.h"
#include "ArxivActor.h"
#include "AtomParser.h"
#include "AwaitTask.h"
#include "Endpoints.h"
#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "SearchError.h"
#include "TestMain.h"
#include "TransportError.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QByteArray realData(const QString &path)
{
    QFile file(QStringLiteral(BRIVET_REALDATA_DIR "/") + path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

const QString token = QStringLiteral("Zt9Lm4Qa7Rw2Xc8Vb5Nk1Hj6Gf3Ds0Pe9Ou4Iy7T");
const QByteArray emptyFeed = "<feed xmlns='http://www.w3.org/2005/Atom'/>";
const QByteArray bigFeed = realData("arxiv/arxivpy_2026-04_newapi_search_testing_start0_max100.xml");

class SearchClientsTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;
    ArxivActor arxiv{server.url("/api/query").toString(), 5s};
    AdsActor ads{server.url("/v1/search/query").toString(), token, 5s};
    LogCapture log;

    template<typename Task>
    SearchError::Kind failure(Task task)
    {
        try {
            awaitTask(std::move(task));
        } catch (const SearchError &e) {
            return e.kind();
        }
        throw std::runtime_error("no SearchError");
    }
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

TEST_F(SearchClientsTest, ReturnExactlyWhatTheServerSentParsedOffThisThread)
{
    server.setResponse({.body = bigFeed});
    const QList<SearchRecord> papers = awaitTask(arxiv.search("all:testing", 100));
    ArxivActor::AtomParser direct;
    EXPECT_EQ(papers, direct.parse(bigFeed));
    const QStringList lines = log.lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Brivet: ArXiv response: %1 bytes, status: 200").arg(bigFeed.size())));
    EXPECT_TRUE(lines.contains("Brivet: XML parsing succeeded, found 100 papers"));
    EXPECT_TRUE(lines.contains("Brivet: Parsed 100 papers from ArXiv XML"));
    EXPECT_NE(log.threadOf("Brivet: XML parsing succeeded"), QThread::currentThread());
    EXPECT_EQ(log.threadOf("Brivet: Parsed 100"), QThread::currentThread());

    server.setResponse({.body = realData("ads/export_service_data_4_publisher_fl_all_date_comment.json")});
    const auto found = awaitTask(ads.search("x", 100));
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found.first().id, "2025romanrept..742B");
}

TEST_F(SearchClientsTest, StatusAndContentFailures)
{
    for (int status : {401, 404, 500}) {
        log.clear();
        server.setResponse({.status = status, .body = bigFeed});
        EXPECT_EQ(failure(arxiv.search("x", 100)), SearchError::Kind::InvalidResponse);
        EXPECT_EQ(failure(ads.search(token, 100)), SearchError::Kind::InvalidResponse);
        EXPECT_TRUE(log.lines().contains(QStringLiteral("Brivet: ArXiv HTTP error: %1").arg(status)));
        EXPECT_EQ(log.lines().last(), QStringLiteral("Brivet: ADS HTTP error: %1").arg(status));
        EXPECT_TRUE(log.linesStartingWith("Brivet: XML").isEmpty()) << "the body of an error is not parsed";
        for (const QString &line : log.lines())
            EXPECT_FALSE(line.contains(token)) << line.toStdString();
    }
    server.setResponse({.body = "<feed><entry>cut"});
    EXPECT_EQ(failure(arxiv.search("x", 100)), SearchError::Kind::ParsingError);
    EXPECT_EQ(failure(ads.search("x", 100)), SearchError::Kind::MissingData);
    server.setResponse({.body = realData("ads/andycasey-ads_2015_first_author_sudilovsky_28docs.json")});
    EXPECT_EQ(failure(ads.search("x", 100)), SearchError::Kind::MissingData);
    EXPECT_TRUE(log.linesStartingWith("Brivet: Parsed").isEmpty());
}

TEST_F(SearchClientsTest, UrlAndTransportFailures)
{
    EXPECT_EQ(failure(ArxivActor("not a url").search("x", 100)), SearchError::Kind::InvalidURL);
    EXPECT_EQ(failure(AdsActor("http://exa mple.org/", token).search("x", 100)), SearchError::Kind::InvalidURL);
    EXPECT_TRUE(log.lines().isEmpty());

    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(emptyFeed);
    file.flush();
    EXPECT_EQ(failure(ArxivActor(QUrl::fromLocalFile(file.fileName()).toString()).search("x", 100)),
              SearchError::Kind::InvalidResponse);
    EXPECT_EQ(log.lines().last(), "Brivet: ArXiv HTTP error: 0");

    // The ADS request's own 60 seconds do not lift the session's shorter limit.
    server.setResponse({.body = {}, .behaviour = LocalHttpServer::Response::Behaviour::Stall});
    ArxivActor arxivImpatient(server.url().toString(), 200ms);
    AdsActor adsImpatient(server.url().toString(), token, 200ms);
    EXPECT_THROW(awaitTask(arxivImpatient.search("x", 100)), TransportError);
    EXPECT_THROW(awaitTask(adsImpatient.search("x", 100)), TransportError);
}

TEST_F(SearchClientsTest, OverlappingSearchesKeepTheirOwnResults)
{
    server.setResponder([](const LocalHttpServer::Request &request) {
        const bool slow = request.queryItems.first().second == "slow";
        return LocalHttpServer::Response{.body = slow ? bigFeed : emptyFeed, .delayMs = slow ? 300 : 0};
    });
    auto both = [this]() -> QCoro::Task<std::pair<qsizetype, qsizetype>> {
        auto slow = arxiv.search("slow", 100);
        auto fast = arxiv.search("fast", 100);
        const auto fastResult = co_await fast;
        const auto slowResult = co_await slow;
        co_return std::pair(slowResult.size(), fastResult.size());
    };
    EXPECT_EQ(awaitTask(both()), (std::pair<qsizetype, qsizetype>(100, 0)));
}

TEST(Endpoints, TheEnvironmentReplacesEndpointsAndToken)
{
    const QString builtIn = Endpoints::adsToken();
    EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9]{40}$").match(builtIn).hasMatch());
    qputenv("BRIVET_ARXIV_API_URL", "http://127.0.0.1:1/api/query");
    qputenv("BRIVET_ADS_TOKEN", "mine");
    EXPECT_EQ(Endpoints::arxivQueryURL(), "http://127.0.0.1:1/api/query");
    EXPECT_EQ(Endpoints::adsToken(), "mine");
    qputenv("BRIVET_ADS_TOKEN", ""); // empty counts as unset
    EXPECT_EQ(Endpoints::adsToken(), builtIn);
    qunsetenv("BRIVET_ARXIV_API_URL");
    EXPECT_EQ(Endpoints::arxivQueryURL(), "https://export.arxiv.org/api/query");
}

TEST(SearchError, DescriptionsAreTheUserFacingTexts)
{
    EXPECT_EQ(SearchError::parsingError("x (line 3, column 2)").description(), "Error parsing data: x (line 3, column 2)");
    EXPECT_EQ(SearchError::parsingError("").description(), "Error parsing data: ");
    EXPECT_EQ(SearchError::invalidURL().description(), "Invalid URL");
    EXPECT_EQ(SearchError::invalidResponse().description(), "Invalid response received");
    EXPECT_STREQ(SearchError::missingData().what(), "Some data is missing from the api's response");
}
