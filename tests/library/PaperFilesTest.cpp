#include "AwaitVoid.h"
#include "DataManager.h"
#include "FullDisk.h"
#include "LibraryFixture.h"
#include "LogCapture.h"
#include "PaperError.h"

#include <QDirIterator>
#include <QFile>
#include <QTest>

namespace {

// Every file under a folder, hidden ones included.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator all(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (all.hasNext())
        files << all.next();
    return files;
}

QString downloadFailure(const PaperPtr &paper)
{
    const auto error = awaitFailure<PaperError>(paper->openPDF());
    return error ? error->description() : QString();
}

// Starts opening the paper's PDF and returns once the server holds its request; the
// task runs on when the server releases it.
QCoro::Task<void> openUntilRequested(const PaperPtr &paper, LocalHttpServer &server)
{
    QCoro::Task<void> opening = paper->openPDF();
    EXPECT_TRUE(QTest::qWaitFor([&server] { return server.requests().size() == 1; }, 10000));
    return opening;
}

} // namespace

using PaperFiles = LibraryFixture;
INSTANTIATE_TEST_SUITE_P(, PaperFiles, ::testing::Bool(), cloudName);

TEST_P(PaperFiles, ThePdfFollowsTheListsOfThePaper)
{
    DataManager manager(context());
    auto paper = makePaper("2201.13452v1");
    EXPECT_EQ(paper->localURL().toLocalFile(), folders.temporary() + "/2201.13452v1.pdf");

    auto list = makeList("Reading");
    manager.add(paper, list.get());
    EXPECT_EQ(paper->localURL().toLocalFile(), listedFolder() + "/2201.13452v1.pdf");

    // Old identifiers carry a '/', which must not become a sub-folder.
    EXPECT_EQ(makePaper("hep-th/9901001v1")->localURL().toLocalFile(), folders.temporary() + "/hep-th%2F9901001v1.pdf");
    EXPECT_EQ(makePaper("../../x")->localURL().toLocalFile(), folders.temporary() + "/%2E.%2F..%2Fx.pdf");
}

TEST_P(PaperFiles, HasPdfWhenAFileOrADownloadIsThere)
{
    EXPECT_FALSE(makePaper("a")->hasPDF());
    EXPECT_TRUE(makePaper("b", QUrl("https://arxiv.org/pdf/b"))->hasPDF());
    auto withFile = makePaper("c");
    writeFile(withFile->localURL().toLocalFile());
    // With a cloud folder only its documents count, and this paper is in no list.
    EXPECT_EQ(withFile->hasPDF(), !withCloud());
}

TEST_P(PaperFiles, OpeningDownloadsOnlyWhatIsMissing)
{
    auto nothing = makePaper("none");
    awaitVoid(nothing->openPDF());
    EXPECT_TRUE(workspace->opened.isEmpty());

    server.setResponse({.status = 200, .body = "%PDF-1.7 body"});
    auto paper = makePaper("2301.00001", server.url("/pdf/2301.00001"));
    paper->localURL(); // names the folder without making it
    EXPECT_FALSE(QFileInfo::exists(folders.temporary()));
    awaitVoid(paper->openPDF());
    // Only the user may look into the folder of downloaded PDFs.
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                          | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_FALSE(QFileInfo(folders.temporary()).permissions() & others);
    ASSERT_EQ(workspace->opened.size(), 1);
    EXPECT_EQ(workspace->opened.first(), paper->localURL());
    EXPECT_EQ(TemporaryDataFolder::readAll(paper->localURL().toLocalFile()), "%PDF-1.7 body");
    EXPECT_EQ(server.requests().size(), 1);

    if (!withCloud()) { // a second open finds the file and asks nobody
        awaitVoid(paper->openPDF());
        EXPECT_EQ(server.requests().size(), 1);
        EXPECT_EQ(workspace->opened.size(), 2);
    }

    awaitVoid(paper->openInBrowser());
    EXPECT_EQ(workspace->opened.last(), QUrl("https://arxiv.org/abs/2301.00001"));
}

TEST_P(PaperFiles, RefusedDownloadsAreReportedAndWriteNothing)
{
    for (int status : {201, 204, 404}) {
        server.setResponse({.status = status, .body = "not a pdf"});
        auto paper = makePaper("2301.00002", server.url("/pdf/x"));
        try {
            awaitVoid(paper->openPDF());
            ADD_FAILURE() << "no error for " << status;
        } catch (const PaperError &error) {
            EXPECT_EQ(error.description(), "Failed to download the PDF for 2301.00002: Invalid response received");
        }
        EXPECT_FALSE(QFile::exists(paper->localURL().toLocalFile()));
        EXPECT_TRUE(workspace->opened.isEmpty());
    }
}

TEST_P(PaperFiles, RemovingAMissingFile)
{
    auto paper = makePaper("gone");
    EXPECT_NO_THROW(paper->removePDF());

    const QString spaced = folders.root() + "/with space/gone.pdf";
    try {
        paper->removePDF(QUrl::fromLocalFile(spaced));
        ADD_FAILURE() << "no error";
    } catch (const PaperError &error) {
        EXPECT_TRUE(error.description().startsWith("Failed to remove the PDf at "));
        EXPECT_TRUE(error.description().contains("/with%20space/gone.pdf: ")) << error.description().toStdString();
    }

    writeFile(paper->localURL().toLocalFile());
    paper->removePDF(paper->localURL());
    EXPECT_FALSE(QFile::exists(paper->localURL().toLocalFile()));
}

TEST_P(PaperFiles, APdfGoesWhereThePaperIsWhenItsDownloadEnds)
{
    DataManager manager(context());
    LocalHttpServer::Response held{.status = 200, .body = "%PDF-1.7 held"};
    held.behaviour = LocalHttpServer::Response::Behaviour::held;

    // Removed from its only list, and so deleted, while its PDF downloads: nothing is left
    // in the documents folder for a paper that no longer exists.
    {
        server.setResponse(held);
        auto list = makeList("Reading");
        auto paper = makePaper("2301.10001", server.url("/pdf/1"));
        manager.add(paper, list.get());
        QCoro::Task<void> opening = openUntilRequested(paper, server);
        manager.remove(paper.get(), list.get());
        server.release();
        awaitVoid(std::move(opening));
        EXPECT_EQ(filesUnder(listedFolder()), QStringList{});
        ASSERT_EQ(workspace->opened.size(), 1);
        EXPECT_EQ(workspace->opened.last().toLocalFile(), folders.temporary() + "/2301.10001.pdf");
        EXPECT_EQ(TemporaryDataFolder::readAll(workspace->opened.last().toLocalFile()), "%PDF-1.7 held");
    }
    // A search result added to a list while its PDF downloads: the file is the list's.
    {
        LocalHttpServer second;
        second.setResponse(held);
        auto list = makeList("Later");
        auto paper = makePaper("2301.10002", second.url("/pdf/2"));
        QCoro::Task<void> opening = openUntilRequested(paper, second);
        manager.add(paper, list.get());
        second.release();
        awaitVoid(std::move(opening));
        const QString listed = listedFolder() + "/2301.10002.pdf";
        ASSERT_EQ(workspace->opened.size(), 2);
        EXPECT_EQ(workspace->opened.last().toLocalFile(), listed);
        EXPECT_EQ(TemporaryDataFolder::readAll(listed), "%PDF-1.7 held");
        EXPECT_TRUE(DataManager::fileExists(paper->localURL()));
        EXPECT_FALSE(QFile::exists(folders.temporary() + "/2301.10002.pdf"));
    }
    // No download is left behind in the temporary folder, finished or not.
    for (const QString &file : filesUnder(folders.temporary()))
        EXPECT_FALSE(QFileInfo(file).fileName().startsWith('.')) << file.toStdString();
}

TEST_P(PaperFiles, AWriteThatFailsLeavesNoPdfAndSaysWhy)
{
    DataManager manager(context());
    auto list = makeList("Reading");
    server.setResponse({.status = 200, .body = QByteArray(100'000, 'p').prepend("%PDF-1.7")});
    auto paper = makePaper("2301.20001", server.url("/pdf/1"));
    manager.add(paper, list.get());
    for (qint64 room : {0, 30'000}) {
        SCOPED_TRACE(room);
        const FullDisk disk(room);
        EXPECT_EQ(downloadFailure(paper), "Failed to download the PDF for 2301.20001: No space left on device");
        EXPECT_EQ(filesUnder(folders.root()).filter(".pdf"), QStringList{});
        EXPECT_EQ(filesUnder(folders.temporary()), QStringList{});
        EXPECT_TRUE(workspace->opened.isEmpty());
    }
    // With room again the next Open downloads the whole file.
    awaitVoid(paper->openPDF());
    EXPECT_EQ(QFileInfo(paper->localURL().toLocalFile()).size(), 100'008);
}

TEST_P(PaperFiles, AFolderThatCannotBeMadeIsReportedAsSuch)
{
    // A file where the documents folder belongs: unlike a read-only folder, root cannot
    // write there either.
    writeFile(listedFolder(), "not a folder");
    DataManager manager(context());
    auto list = makeList("Reading");
    server.setResponse({.status = 200, .body = "%PDF-1.7"});
    auto paper = makePaper("2301.30001", server.url("/pdf/1"));
    manager.add(paper, list.get());
    const QString failure = downloadFailure(paper);
    EXPECT_TRUE(failure.startsWith("Failed to download the PDF for 2301.30001: The folder " + listedFolder()
                                   + " could not be created: "))
        << failure.toStdString();
    EXPECT_EQ(filesUnder(folders.temporary()), QStringList{});
}

TEST_P(PaperFiles, AnEmptyFileIsNoPdf)
{
    // An older version could leave one after a failed write.
    DataManager manager(context());
    auto list = makeList("Reading");
    auto paper = makePaper("2301.40001");
    manager.add(paper, list.get());
    writeFile(paper->localURL().toLocalFile(), "");
    EXPECT_FALSE(DataManager::fileExists(paper->localURL()));
    EXPECT_FALSE(paper->hasPDF());

    server.setResponse({.status = 200, .body = "%PDF-1.7 again"});
    paper->setPdfURL(server.url("/pdf/1"));
    awaitVoid(paper->openPDF());
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(TemporaryDataFolder::readAll(paper->localURL().toLocalFile()), "%PDF-1.7 again");
    EXPECT_TRUE(DataManager::fileExists(paper->localURL()));
}

TEST_P(PaperFiles, OnlyWebAddressesGoToTheBrowser)
{
    // A dropped paper can bring any address; a launcher must start nothing.
    LogCapture log;
    auto paper = makePaper("2301.50001");
    for (const QUrl &url : {QUrl::fromLocalFile(folders.root() + "/launcher.desktop"), QUrl("mailto:a@example.org"),
                            QUrl("https:no-host"), QUrl("HTTP://example.org/a")}) {
        paper->setUrl(url);
        awaitVoid(paper->openInBrowser());
    }
    EXPECT_EQ(workspace->opened, QList<QUrl>{QUrl("http://example.org/a")});
    ASSERT_EQ(log.lines().size(), 3);
    EXPECT_TRUE(log.lines().first().startsWith("Brivet: Not opening file://")) << log.lines().first().toStdString();
}
