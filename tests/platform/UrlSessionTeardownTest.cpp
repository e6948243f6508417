// The application object goes away while requests are still in flight, as at
// quit. A program of its own, because it destroys its application.
#include "BrivetError.h"
#include "FileDownload.h"
#include "QtPrinters.h"
#include "TransportError.h"
#include "UrlSession.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Takes connections and never answers. Plain sockets: it needs no application,
// so it can outlive one.
class SilentServer {
public:
    SilentServer()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(m_listener, 8) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            ADD_FAILURE() << "cannot listen";
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer()
    {
        for (int fd : m_connections)
            ::close(fd);
        ::close(m_listener);
    }

    QUrl url(const QString &path) const { return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path)); }

    // Takes every connection waiting now; how many there have been.
    int connections()
    {
        pollfd waiting{m_listener, POLLIN, 0};
        while (::poll(&waiting, 1, 0) > 0) {
            const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                break;
            m_connections.push_back(fd);
        }
        return int(m_connections.size());
    }

private:
    int m_listener = -1;
    quint16 m_port = 0;
    std::vector<int> m_connections;
};

} // namespace

TEST(UrlSessionTeardown, TheApplicationEndsRequestsInFlightAndLeavesNoNetworkBehind)
{
    SilentServer server;
    QTemporaryDir folder;
    // Outlives the application, as the process-wide sessions of the search clients do.
    static UrlSession session;
    QStringList ended;
    auto search = [&]() -> QCoro::Task<> {
        try {
            co_await session.get(server.url("/search"));
            ended << "an answer";
        } catch (const TransportError &error) {
            ended << error.description();
        }
    };
    auto download = [&]() -> QCoro::Task<> {
        try {
            co_await FileDownload::toFile(server.url("/x.pdf"), folder.filePath("x.pdf"));
            ended << "a file";
        } catch (const BrivetError &error) {
            ended << error.description();
        }
    };
    {
        int argc = 1;
        char name[] = "brivet-teardown-test";
        char *argv[] = {name, nullptr};
        auto application = std::make_unique<QCoreApplication>(argc, argv);
        search();
        download();
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.connections() == 2; }, 10'000));
        EXPECT_TRUE(ended.isEmpty());
        application.reset();
    }
    EXPECT_EQ(ended, QStringList(2, "The request was cancelled."));

    // Without an application no request starts: each fails at once.
    search();
    download();
    EXPECT_EQ(ended, QStringList(4, "The request was cancelled."));
}
