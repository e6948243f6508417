#include "AwaitVoid.h"
#include "BrivetError.h"
#include "FileDownload.h"
#include "HttpStatusError.h"
#include "LocalHttpServer.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

class FileDownloadTest : public ::testing::Test {
protected:
    QString target() const { return folder.filePath("paper.pdf"); }
    QStringList folderEntries() const { return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden); }

    // The server's sockets need the application's event dispatcher, so it comes first.
    QCoreApplication &app = testApp();
    TemporaryDataFolder folder;
    LocalHttpServer server;
};

QByteArray pdfBytes(qsizetype size)
{
    QByteArray bytes("%PDF-1.7\n");
    while (bytes.size() < size)
        bytes += char('a' + bytes.size() % 26);
    return bytes;
}

} // namespace

TEST_F(FileDownloadTest, AWholeAnswerReplacesTheFile)
{
    TemporaryDataFolder::write(target(), "old");
    const QByteArray body = pdfBytes(3 * 1024 * 1024);
    server.setResponse({.status = 200, .body = body});
    awaitVoid(FileDownload::toFile(server.url("/pdf/1234.5678"), target()));
    EXPECT_EQ(TemporaryDataFolder::readAll(target()), body);
    EXPECT_EQ(folderEntries(), QStringList{"paper.pdf"}); // no temporary file left behind
}

TEST_F(FileDownloadTest, AnyOtherStatusWritesNothing)
{
    for (int status : {201, 204, 301, 404, 500}) {
        SCOPED_TRACE(status);
        TemporaryDataFolder::write(target(), "old");
        server.setResponse({.status = status, .body = pdfBytes(1000),
                            .headers = {{"Content-Type", "application/pdf"}}});
        try {
            awaitVoid(FileDownload::toFile(server.url("/x.pdf"), target()));
            ADD_FAILURE() << "no error";
        } catch (const HttpStatusError &error) {
            EXPECT_EQ(error.status(), status);
        }
        EXPECT_EQ(TemporaryDataFolder::readAll(target()), "old");
        EXPECT_EQ(folderEntries(), QStringList{"paper.pdf"});
    }
}

TEST_F(FileDownloadTest, InterruptedDownloadsLeaveNoFile)
{
    using Behaviour = LocalHttpServer::Response::Behaviour;
    const QString timedOut = "The request timed out.";
    struct { Behaviour behaviour; QString description; } const cases[] = {
        {Behaviour::cutOffBody, {}},
        // A server that goes silent is told from a cancellation by the user.
        {Behaviour::stallMidBody, timedOut},
        {Behaviour::stall, timedOut},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.behaviour));
        server.setResponse({.status = 200, .body = pdfBytes(100'000), .behaviour = c.behaviour, .cutAfter = 5000});
        const auto error = awaitFailure<BrivetError>(FileDownload::toFile(server.url("/x.pdf"), target(), 300ms));
        ASSERT_TRUE(error);
        EXPECT_FALSE(error->description().isEmpty());
        if (!c.description.isEmpty()) {
            EXPECT_EQ(error->description(), c.description);
        }
        EXPECT_TRUE(folderEntries().isEmpty()) << folderEntries().join(", ").toStdString();
    }
}

TEST_F(FileDownloadTest, TransportAndFileErrorsAreDescribed)
{
    // Nobody listens on the port of a server that is gone.
    QUrl gone;
    {
        LocalHttpServer closed;
        gone = closed.url("/x.pdf");
    }
    try {
        awaitVoid(FileDownload::toFile(gone, target(), 2s));
        ADD_FAILURE() << "no error";
    } catch (const BrivetError &error) {
        EXPECT_FALSE(error.description().isEmpty());
    }

    server.setResponse({.status = 200, .body = pdfBytes(100)});
    EXPECT_THROW(awaitVoid(FileDownload::toFile(server.url("/x.pdf"), folder.filePath("missing/folder/x.pdf"))),
                 BrivetError);
    // A file where the folder should be stops root as well, unlike a folder without write permission.
    TemporaryDataFolder::write(folder.filePath("plain"), "a file");
    const auto notAFolder =
        awaitFailure<BrivetError>(FileDownload::toFile(server.url("/x.pdf"), folder.filePath("plain/x.pdf")));
    ASSERT_TRUE(notAFolder);
    EXPECT_EQ(notAFolder->description(), "Not a directory");
    QFile::remove(folder.filePath("plain"));

    // A folder where the file should go is not replaced, not even by root.
    QDir().mkpath(target());
    TemporaryDataFolder::write(folder.filePath("paper.pdf/inside"), "kept");
    EXPECT_THROW(awaitVoid(FileDownload::toFile(server.url("/x.pdf"), target())), BrivetError);
    EXPECT_EQ(TemporaryDataFolder::readAll(folder.filePath("paper.pdf/inside")), "kept");
    EXPECT_EQ(folderEntries(), QStringList{});
}

TEST_F(FileDownloadTest, AddressesThatAreNotHttpFetchNothing)
{
    const QString local = folder.filePath("local.pdf");
    TemporaryDataFolder::write(local, "%PDF-1.4 local");
    for (const QUrl &url : {QUrl::fromLocalFile(local), QUrl("data:application/pdf;base64,JVBERi0xLjQ="),
                            QUrl("ftp://127.0.0.1/x.pdf"), QUrl("qrc:/x.pdf")}) {
        SCOPED_TRACE(url.toString().toStdString());
        const auto error = awaitFailure<HttpStatusError>(FileDownload::toFile(url, target()));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->status(), 0);
        EXPECT_EQ(folderEntries(), QStringList{"local.pdf"});
    }
}
