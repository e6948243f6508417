#include "ArxivActor.h"
#include "AtomParser.h"
#include "AwaitTask.h"
#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "SearchError.h"
#include "TestMain.h"
#include "TransportError.h"

#include <QFile>
#include <QTemporaryFile>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

QByteArray realFeed(const QString &name)
{
    QFile file(QStringLiteral(BRIVET_REALDATA_DIR "/arxiv/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

const QString bigFeed = QStringLiteral("arxivpy_2026-04_newapi_search_testing_start0_max100.xml");
const QString smallFeed = QStringLiteral("arxivpy_2026-04_newapi_search_testing_start0_max10.xml");

class ArxivActorTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;
    ArxivActor actor{server.url("/api/query").toString(), 5s};
    LogCapture log;

    QList<SearchRecord> search(const QString &text) { return awaitTask(actor.search(text, 100)); }

    template<typename Error>
    Error failure(const QString &text)
    {
        try {
            search(text);
        } catch (const Error &e) {
            return e;
        }
        throw std::runtime_error("expected error not thrown");
    }
};

} // namespace

TEST_F(ArxivActorTest, SendsTheFourQueryItemsInOrderAndEncoded)
{
    server.setResponse({.body = realFeed("arxivpy_2026-04_newapi_id_0000.0000_empty_total0.xml")});
    const QString text = QString::fromUtf8("au:del_maestro AND ti:\"Ünïcode\" a+b/c&d=e#f%");
    EXPECT_TRUE(search(text).isEmpty());
    ASSERT_EQ(server.requests().size(), 1);
    const auto &request = server.requests().first();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/api/query");
    EXPECT_EQ(request.rawQuery,
              "search_query=au:del_maestro%20AND%20ti:%22%C3%9Cn%C3%AFcode%22%20a+b/c%26d%3De%23f%25"
              "&max_results=100&sortBy=submittedDate&sortOrder=descending");
    const QList<std::pair<QString, QString>> items = {
        {"search_query", text}, {"max_results", "100"}, {"sortBy", "submittedDate"}, {"sortOrder", "descending"}};
    EXPECT_EQ(request.queryItems, items);
    EXPECT_TRUE(request.header("Authorization").isNull());
    EXPECT_EQ(log.lines().first(), "Brivet: ArXiv request URL: " + server.url("/api/query").toString() + "?" +
                                       QString::fromLatin1(request.rawQuery));
}

TEST_F(ArxivActorTest, AnEmptyTextIsSentAsAnEmptyValue)
{
    server.setResponse({.body = realFeed("arxivpy_2026-04_newapi_id_0000.0000_empty_total0.xml")});
    search("");
    EXPECT_EQ(server.requests().first().rawQuery,
              "search_query=&max_results=100&sortBy=submittedDate&sortOrder=descending");
}

TEST_F(ArxivActorTest, ReturnsExactlyTheServedFeedsPapersWithItsLogLines)
{
    const QByteArray body = realFeed(bigFeed);
    server.setResponse({.body = body});
    const QList<SearchRecord> papers = search("all:testing");
    ArxivActor::AtomParser direct;
    LogCapture quiet;
    EXPECT_EQ(papers, direct.parse(body));
    ASSERT_EQ(papers.size(), 100);
    EXPECT_EQ(papers.first().id, "2202.12139v1");

    const QStringList lines = log.lines();
    EXPECT_TRUE(lines.contains(QStringLiteral("Brivet: ArXiv response: %1 bytes, status: 200").arg(body.size())));
    EXPECT_EQ(lines.filter("Brivet: Capturing title: ").size(), 100);
    EXPECT_EQ(lines.at(lines.size() - 2), "Brivet: XML parsing succeeded, found 100 papers");
    EXPECT_EQ(lines.last(), "Brivet: Parsed 100 papers from ArXiv XML");
    // The parse ran away from the thread that waits for the answer.
    ASSERT_NE(log.threadOf("Brivet: XML parsing succeeded"), nullptr);
    EXPECT_NE(log.threadOf("Brivet: XML parsing succeeded"), QThread::currentThread());
    EXPECT_EQ(log.threadOf("Brivet: Parsed 100"), QThread::currentThread());
}

TEST_F(ArxivActorTest, AnHttpErrorStatusIsAnInvalidResponseAndItsBodyIsNotParsed)
{
    for (int status : {400, 404, 500}) {
        log.clear();
        server.setResponse({.status = status, .body = realFeed("arxivpy_2026-04_newapi_id_abc_error_http400.xml")});
        EXPECT_EQ(failure<SearchError>("x").kind(), SearchError::Kind::InvalidResponse);
        EXPECT_EQ(log.lines().last(), QStringLiteral("Brivet: ArXiv HTTP error: %1").arg(status));
        EXPECT_TRUE(log.linesStartingWith("Brivet: XML").isEmpty());
        EXPECT_TRUE(log.linesStartingWith("Brivet: Capturing").isEmpty());
    }
}

TEST_F(ArxivActorTest, MalformedXmlIsAParsingError)
{
    server.setResponse({.body = "<feed><entry><title>cut"});
    const SearchError error = failure<SearchError>("x");
    EXPECT_EQ(error.kind(), SearchError::Kind::ParsingError);
    EXPECT_TRUE(log.lines().contains("Brivet: XML parsing failed: " + error.message()));
    EXPECT_TRUE(log.linesStartingWith("Brivet: Parsed").isEmpty());
}

TEST_F(ArxivActorTest, TransportFailuresPassUpUnchanged)
{
    ArxivActor impatient(server.url("/api/query").toString(), 200ms);
    server.setResponse({.body = {}, .behaviour = LocalHttpServer::Response::Behaviour::Stall});
    try {
        awaitTask(impatient.search("x", 100));
        FAIL() << "no error";
    } catch (const TransportError &e) {
        EXPECT_EQ(e.kind(), TransportError::Kind::TimedOut);
    }
    server.setResponse({.body = QByteArray(5000, 'x'), .behaviour = LocalHttpServer::Response::Behaviour::CutOffBody,
                        .cutAfter = 100});
    EXPECT_THROW(search("x"), TransportError);
    EXPECT_TRUE(log.linesStartingWith("Brivet: ArXiv HTTP error").isEmpty());
}

TEST_F(ArxivActorTest, ABaseThatFormsNoUrlIsAnInvalidUrl)
{
    for (const QString &base : {QString("not a url"), QString("http://exa mple.org/api"), QString()}) {
        ArxivActor broken(base);
        try {
            awaitTask(broken.search("x", 100));
            ADD_FAILURE() << base.toStdString();
        } catch (const SearchError &e) {
            EXPECT_EQ(e.kind(), SearchError::Kind::InvalidURL);
        }
    }
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST_F(ArxivActorTest, AnAnswerThatIsNotHttpIsAnInvalidResponse)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write(realFeed(smallFeed));
    file.flush();
    ArxivActor local(QUrl::fromLocalFile(file.fileName()).toString());
    EXPECT_THROW(awaitTask(local.search("x", 100)), SearchError);
    EXPECT_EQ(log.lines().last(), "Brivet: ArXiv HTTP error: 0");
}

TEST_F(ArxivActorTest, OverlappingSearchesKeepTheirOwnResults)
{
    server.setResponder([](const LocalHttpServer::Request &request) {
        const bool slow = request.queryItems.first().second == "slow";
        return LocalHttpServer::Response{.body = realFeed(slow ? bigFeed : smallFeed), .delayMs = slow ? 300 : 0};
    });
    auto both = [this]() -> QCoro::Task<std::pair<QList<SearchRecord>, QList<SearchRecord>>> {
        auto slow = actor.search("slow", 100);
        auto fast = actor.search("fast", 100);
        auto fastResult = co_await fast;
        auto slowResult = co_await slow;
        co_return std::pair(slowResult, fastResult);
    };
    const auto [slow, fast] = awaitTask(both());
    EXPECT_EQ(slow.size(), 100);
    EXPECT_EQ(fast.size(), 10);
    EXPECT_EQ(server.requests().size(), 2);
}
