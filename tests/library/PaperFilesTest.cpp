#include "AwaitVoid.h"
#include "DataManager.h"
#include "LibraryFixture.h"
#include "PaperError.h"

#include <QFile>

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
