#include "AwaitTask.h"
#include "DataManager.h"
#include "ImportError.h"
#include "ImportablePaper.h"
#include "LibraryFixture.h"

#include <QFile>

using ImportablePaperTest = LibraryFixture;
INSTANTIATE_TEST_SUITE_P(, ImportablePaperTest, ::testing::Bool(), cloudName);

namespace {

QString failureOf(ImportablePaper &form, PaperList *list)
{
    try {
        awaitTask(form.importPaper(list));
    } catch (const ImportError &error) {
        return error.description();
    }
    return QStringLiteral("no error");
}

void fillAllButPdf(ImportablePaper &form)
{
    form.setId("hand/001");
    form.setTitle("A paper no search finds");
    form.setSummary("Abstract");
    form.setUrl(QUrl("https://example.org/paper"));
    form.authors = {"  Ada Lovelace \n", "", "Charles Babbage"};
}

} // namespace

TEST_P(ImportablePaperTest, ChecksComeInTheFormsOrder)
{
    auto list = makeList("Imports");
    ImportablePaper form;
    EXPECT_EQ(failureOf(form, list.get()), "The paper's ID is missing");
    form.setId(" "); // spaces are an identifier
    EXPECT_EQ(failureOf(form, list.get()), "The paper's title is missing");
    form.setTitle("T");
    EXPECT_EQ(failureOf(form, list.get()), "The paper's abstract is missing");
    form.setSummary("S");
    EXPECT_EQ(failureOf(form, list.get()), "The paper's webpage URL is missing");
    form.setUrl(QUrl("https://example.org"));
    form.authors = {"", "  \n\t"};
    EXPECT_EQ(failureOf(form, list.get()), "The paper's author(s) is missing");
    form.authors = {"Someone"};
    EXPECT_EQ(failureOf(form, list.get()), "The paper's PDF or download URL is missing");
    EXPECT_TRUE(list->papers().value_or(QList<Paper *>{}).isEmpty());
}

TEST_P(ImportablePaperTest, ADownloadedPdfGoesWhereTheListedPaperKeepsIt)
{
    auto list = makeList("Imports");
    ImportablePaper form;
    fillAllButPdf(form);
    server.setResponse({.status = 200, .body = "%PDF downloaded"});
    form.setPdfURL(server.url("/paper.pdf"));
    PaperPtr paper = awaitTask(form.importPaper(list.get()));

    EXPECT_EQ(paper->authors(), (QStringList{"Ada Lovelace", "Charles Babbage"}));
    EXPECT_EQ(paper->doi(), std::optional<QString>(QString()));
    EXPECT_EQ(paper->inLists()->size(), 1);
    EXPECT_TRUE(list->papers().value_or(QList<Paper *>{}).isEmpty());
    EXPECT_EQ(paper->modelContext(), nullptr);
    const QString pdf = listedFolder() + "/hand%2F001.pdf";
    EXPECT_EQ(paper->localURL().toLocalFile(), pdf);
    EXPECT_EQ(TemporaryDataFolder::readAll(pdf), "%PDF downloaded");

    DataManager manager(context());
    manager.add(paper, list.get());
    EXPECT_EQ(list->papers()->size(), 1);
}

TEST_P(ImportablePaperTest, RefusedDownloadsAndFilesAreTheirOwnErrors)
{
    auto list = makeList("Imports");
    ImportablePaper form;
    fillAllButPdf(form);
    for (int status : {201, 404}) {
        server.setResponse({.status = status, .body = "nope"});
        form.setPdfURL(server.url("/paper.pdf"));
        EXPECT_EQ(failureOf(form, list.get()), "The download URL provided is not valid");
        EXPECT_FALSE(QFile::exists(listedFolder() + "/hand%2F001.pdf"));
    }
    form.setPdfURL(std::nullopt);
    for (const QUrl &refused : {QUrl::fromLocalFile(folders.root() + "/missing.pdf"), QUrl::fromLocalFile(folders.root()),
                                QUrl("https://example.org/remote.pdf")}) {
        form.setFileURL(refused);
        EXPECT_EQ(failureOf(form, list.get()), "Unable to access the PDF file given");
    }
}

TEST_P(ImportablePaperTest, APickedFileReplacesTheDownload)
{
    auto list = makeList("Imports");
    ImportablePaper form;
    fillAllButPdf(form);
    server.setResponse({.status = 200, .body = "%PDF downloaded"});
    form.setPdfURL(server.url("/paper.pdf"));
    const QString picked = folders.root() + "/picked.pdf";
    writeFile(picked, "%PDF picked");
    form.setFileURL(QUrl::fromLocalFile(picked));
    PaperPtr paper = awaitTask(form.importPaper(list.get()));
    EXPECT_EQ(TemporaryDataFolder::readAll(paper->localURL().toLocalFile()), "%PDF picked");
    EXPECT_EQ(TemporaryDataFolder::readAll(picked), "%PDF picked");
}
