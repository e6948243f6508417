#include "QtPrinters.h"
#include "AwaitTask.h"
#include "LocalHttpServer.h"
#include "TestMain.h"
#include "TransportError.h"
#include "UrlSession.h"

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Behaviour = LocalHttpServer::Response::Behaviour;

namespace {

class UrlSessionTest : public ::testing::Test {
protected:
    TransportError::Kind failureOf(UrlSession &session, const QUrl &url, QString *description = nullptr)
    {
        try {
            awaitTask(session.get(url));
        } catch (const TransportError &e) {
            if (description)
                *description = e.description();
            return e.kind();
        }
        ADD_FAILURE() << "no transport error for " << url.toString().toStdString();
        return TransportError::Kind::Other;
    }

    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;
};

} // namespace

TEST_F(UrlSessionTest, SendsAGetWithTheGivenHeadersAndReturnsStatusAndBody)
{
    server.setResponse({.status = 200, .body = "hello"});
    UrlSession session;
    const HttpResponse response = awaitTask(session.get(
        QUrl::fromEncoded("http://127.0.0.1:" + QByteArray::number(server.port()) + "/v1/search/query?q=a%20b&rows=100"),
        {{"Authorization", "Bearer t0k3n"}}));
    EXPECT_EQ(response.statusCode, 200);
    EXPECT_TRUE(response.isHttp());
    EXPECT_TRUE(response.isSuccess());
    EXPECT_EQ(response.body, "hello");

    ASSERT_EQ(server.requests().size(), 1);
    const auto &request = server.requests().first();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/v1/search/query");
    EXPECT_EQ(request.rawQuery, "q=a%20b&rows=100");
    EXPECT_EQ(request.header("Authorization"), "Bearer t0k3n");
}

TEST_F(UrlSessionTest, AnyHttpStatusIsAnAnswerNotAnError)
{
    UrlSession session;
    for (int status : {201, 204, 301, 400, 401, 404, 500, 503}) {
        server.setResponse({.status = status, .body = "body of " + QByteArray::number(status),
                            .headers = {{"Location", "/elsewhere-not-followed"}}});
        if (status == 301)
            continue; // redirects are followed by the network layer; nothing to judge here
        const HttpResponse response = awaitTask(session.get(server.url("/s")));
        EXPECT_EQ(response.statusCode, status);
        EXPECT_EQ(response.isSuccess(), status < 300) << status;
        if (status != 204) {
            EXPECT_EQ(response.body, "body of " + QByteArray::number(status));
        }
    }
}

TEST_F(UrlSessionTest, AStalledAnswerEndsWithATimeOutAfterTheIdleTime)
{
    UrlSession session(300ms);
    for (Behaviour behaviour : {Behaviour::Stall, Behaviour::StallMidBody}) {
        server.setResponse({.body = QByteArray(1000, 'x'), .behaviour = behaviour, .cutAfter = 100});
        QElapsedTimer clock;
        clock.start();
        QString description;
        EXPECT_EQ(failureOf(session, server.url("/slow"), &description), TransportError::Kind::TimedOut);
        EXPECT_EQ(description, "The request timed out.");
        EXPECT_GE(clock.elapsed(), 250);
        EXPECT_LT(clock.elapsed(), 10'000);
    }
}

TEST_F(UrlSessionTest, ARequestTimeOutShorterThanTheSessionsApplies)
{
    server.setResponse({.body = {}, .behaviour = Behaviour::Stall});
    UrlSession session(60s);
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(awaitTask(session.get(server.url("/slow"), {}, 200ms)), TransportError);
    EXPECT_LT(clock.elapsed(), 10'000);
}

TEST_F(UrlSessionTest, ABodyCutShortIsATransportError)
{
    server.setResponse({.body = QByteArray(5000, 'x'), .behaviour = Behaviour::CutOffBody, .cutAfter = 1000});
    UrlSession session(5s);
    EXPECT_EQ(failureOf(session, server.url("/cut")), TransportError::Kind::ConnectionLost);
}

TEST_F(UrlSessionTest, ARefusedConnectionIsATransportErrorWithADescription)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    UrlSession session(5s);
    QString description;
    EXPECT_EQ(failureOf(session, QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port)), &description),
              TransportError::Kind::ConnectionRefused);
    EXPECT_FALSE(description.isEmpty());
}

TEST_F(UrlSessionTest, ABodyOverTheLimitEndsTheRequest)
{
    UrlSession session(5s, 4096);
    for (bool announced : {true, false}) {
        server.setResponse({.body = QByteArray(100'000, 'x'), .sendContentLength = announced});
        QString description;
        EXPECT_EQ(failureOf(session, server.url("/big"), &description), TransportError::Kind::BodyTooLarge)
            << "announced: " << announced;
        EXPECT_EQ(description, "The answer is larger than 4096 bytes.");
    }
    server.setResponse({.body = QByteArray(4096, 'y')});
    EXPECT_EQ(awaitTask(session.get(server.url("/fits"))).body.size(), 4096);
    EXPECT_EQ(UrlSession::defaultMaximumBodySize, 64 * 1024 * 1024);
    EXPECT_EQ(UrlSession::defaultIdleTimeout, 30s);
}

TEST_F(UrlSessionTest, AnAnswerNotOverHttpHasNoStatus)
{
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    file.write("<feed/>");
    file.flush();
    UrlSession session;
    const HttpResponse response = awaitTask(session.get(QUrl::fromLocalFile(file.fileName())));
    EXPECT_FALSE(response.isHttp());
    EXPECT_EQ(response.statusCode, 0);
    EXPECT_EQ(response.body, "<feed/>");
}
