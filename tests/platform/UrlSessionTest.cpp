#include "AwaitTask.h"
#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "TestMain.h"
#include "TransportError.h"
#include "UrlSession.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Behaviour = LocalHttpServer::Response::Behaviour;

namespace {

class UrlSessionTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;

    TransportError failure(UrlSession &session, const QUrl &url)
    {
        try {
            awaitTask(session.get(url));
        } catch (const TransportError &e) {
            return e;
        }
        ADD_FAILURE() << "no transport error";
        return TransportError(TransportError::Kind::Other, {});
    }
};

} // namespace

TEST_F(UrlSessionTest, AnyStatusIsAnAnswerWithItsBody)
{
    UrlSession session;
    for (int status : {200, 404, 500}) {
        server.setResponse({.status = status, .body = "body " + QByteArray::number(status)});
        const HttpResponse response = awaitTask(session.get(server.url("/a?q=x%20y"), {{"Authorization", "Bearer t"}}));
        EXPECT_EQ(response.statusCode, status);
        EXPECT_EQ(response.isSuccess(), status == 200);
        EXPECT_EQ(response.body, "body " + QByteArray::number(status));
    }
    EXPECT_EQ(server.requests().last().target, "/a?q=x%20y");
    EXPECT_EQ(server.requests().last().header("authorization"), "Bearer t");
}

TEST_F(UrlSessionTest, AStalledAnswerTimesOutAfterTheIdleTime)
{
    UrlSession session(300ms);
    for (Behaviour behaviour : {Behaviour::Stall, Behaviour::StallMidBody}) {
        server.setResponse({.body = QByteArray(1000, 'x'), .behaviour = behaviour, .cutAfter = 100});
        QElapsedTimer clock;
        clock.start();
        const TransportError e = failure(session, server.url());
        EXPECT_EQ(e.kind(), TransportError::Kind::TimedOut);
        EXPECT_EQ(e.description(), "The request timed out.");
        EXPECT_GE(clock.elapsed(), 250);
    }
    // A request's own limit applies when it is the shorter one.
    UrlSession patient(60s);
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(awaitTask(patient.get(server.url(), {}, 200ms)), TransportError);
    EXPECT_LT(clock.elapsed(), 10'000);
}

TEST_F(UrlSessionTest, ConnectionFailuresAreTransportErrors)
{
    UrlSession session(5s);
    server.setResponse({.body = QByteArray(5000, 'x'), .behaviour = Behaviour::CutOffBody, .cutAfter = 1000});
    EXPECT_EQ(failure(session, server.url()).kind(), TransportError::Kind::ConnectionLost);

    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QUrl refused(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
    closed.close();
    const TransportError e = failure(session, refused);
    EXPECT_EQ(e.kind(), TransportError::Kind::ConnectionRefused);
    EXPECT_FALSE(e.description().isEmpty());
}

TEST_F(UrlSessionTest, ABodyOverTheLimitEndsTheRequest)
{
    UrlSession session(5s, 4096);
    for (bool announced : {true, false}) {
        server.setResponse({.body = QByteArray(100'000, 'x'), .sendContentLength = announced});
        const TransportError e = failure(session, server.url());
        EXPECT_EQ(e.kind(), TransportError::Kind::BodyTooLarge);
        EXPECT_EQ(e.description(), "The answer is larger than 4096 bytes.");
    }
    server.setResponse({.body = QByteArray(4096, 'y')});
    EXPECT_EQ(awaitTask(session.get(server.url())).body.size(), 4096);
}
