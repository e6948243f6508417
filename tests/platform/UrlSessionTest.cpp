#include "AwaitTask.h"
#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "TestMain.h"
#include "TransportError.h"
#include "UrlSession.h"

#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Behaviour = LocalHttpServer::Response::Behaviour;

namespace {

class UrlSessionTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp(); // before the server: sockets need the application
    LocalHttpServer server;
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
    // A body of exactly the limit is still whole.
    server.setResponse({.body = QByteArray(4096, 'y')});
    EXPECT_EQ(awaitTask(UrlSession(5s, 4096).get(server.url())).body.size(), 4096);
}

TEST_F(UrlSessionTest, IncompleteAnswersAreTransportErrors)
{
    using Kind = TransportError::Kind;
    const QByteArray small(1000, 'x'), big(100'000, 'x');
    const QString timedOut = "The request timed out.", tooLarge = "The answer is larger than 4096 bytes.";
    struct { LocalHttpServer::Response response; Kind kind; QString description; } const cases[] = {
        {{.body = small, .behaviour = Behaviour::stall}, Kind::timedOut, timedOut},
        {{.body = small, .behaviour = Behaviour::stallMidBody, .cutAfter = 100}, Kind::timedOut, timedOut},
        {{.body = small, .behaviour = Behaviour::cutOffBody, .cutAfter = 100}, Kind::connectionLost, {}},
        {{.body = big}, Kind::bodyTooLarge, tooLarge},
        {{.body = big, .sendContentLength = false}, Kind::bodyTooLarge, tooLarge},
        // Ended while the rest is still awaited, not only once the answer is complete.
        {{.body = big, .behaviour = Behaviour::stallMidBody, .cutAfter = 50'000, .sendContentLength = false},
         Kind::bodyTooLarge, tooLarge},
    };
    UrlSession session(300ms, 4096);
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QUrl refused(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
    closed.close();
    EXPECT_EQ(awaitFailure<TransportError>(session.get(refused)).value().kind(), Kind::connectionRefused);

    QElapsedTimer clock;
    for (const auto &c : cases) {
        server.setResponse(c.response);
        clock.start();
        const TransportError e = awaitFailure<TransportError>(session.get(server.url())).value();
        EXPECT_EQ(e.kind(), c.kind) << e.description().toStdString();
        EXPECT_FALSE(e.description().isEmpty());
        if (!c.description.isEmpty()) {
            EXPECT_EQ(e.description(), c.description);
        }
        EXPECT_TRUE(c.kind != Kind::timedOut || clock.elapsed() >= 250) << "timed out too early";
    }
    // A request's own limit applies when it is the shorter one.
    server.setResponse({.body = {}, .behaviour = Behaviour::stall});
    clock.start();
    EXPECT_THROW(awaitTask(UrlSession(60s).get(server.url(), {}, 200ms)), TransportError);
    EXPECT_LT(clock.elapsed(), 10'000);
}

TEST_F(UrlSessionTest, DestroyingTheSessionEndsItsRequestsAsCancelled)
{
    server.setResponse({.body = {}, .behaviour = Behaviour::stall});
    auto session = std::make_unique<UrlSession>();
    QStringList ended;
    auto request = [&]() -> QCoro::Task<> {
        try {
            co_await session->get(server.url());
            ended << "an answer";
        } catch (const TransportError &e) {
            ended << (e.kind() == TransportError::Kind::cancelled ? e.description() : "another error");
        }
    };
    QCoro::Task<> held = request();
    request(); // nobody holds this one: its frame goes only once it has ended
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 2; }, 10'000));

    session.reset();
    EXPECT_EQ(ended, QStringList(2, "The request was cancelled."));
    EXPECT_TRUE(held.isReady());
}
