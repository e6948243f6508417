#include "AwaitTask.h"
#include "DataManager.h"
#include "ImportError.h"
#include "ImportablePaper.h"
#include "FullDisk.h"
#include "LibraryFixture.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

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

// A paper with the form's identifier, stored in a list with its PDF.
QString storePaperWithPdf(DataManager &manager, PaperList *list, const QByteArray &bytes)
{
    auto stored = std::make_shared<Paper>("hand/001", "Stored", "S", QStringList{"A"}, QDateTime::currentDateTimeUtc(),
                                          std::nullopt, QUrl("https://example.org"), std::nullopt, std::nullopt, QString());
    manager.add(stored, list);
    const QString pdf = stored->localURL().toLocalFile();
    QDir().mkpath(QFileInfo(pdf).absolutePath());
    TemporaryDataFolder::write(pdf, bytes);
    return pdf;
}

QStringList hiddenFilesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^\\."));
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

TEST_P(ImportablePaperTest, PickingTheStoredPdfItselfKeepsIt)
{
    // A user re-imports a paper and picks its PDF from the documents folder, by any path.
    DataManager manager(context());
    auto list = makeList("Imports");
    const QString pdf = storePaperWithPdf(manager, list.get(), "%PDF stored");
    const QString link = folders.root() + "/link to stored.pdf";
    ASSERT_TRUE(QFile::link(pdf, link));
    for (const QString &path : {pdf, QFileInfo(pdf).absolutePath() + "/./" + QFileInfo(pdf).fileName(), link}) {
        SCOPED_TRACE(path.toStdString());
        ImportablePaper form;
        fillAllButPdf(form);
        form.setFileURL(QUrl::fromLocalFile(path));
        PaperPtr paper = awaitTask(form.importPaper(list.get()));
        EXPECT_EQ(paper->localURL().toLocalFile(), pdf);
        EXPECT_EQ(TemporaryDataFolder::readAll(pdf), "%PDF stored");
    }
}

TEST_P(ImportablePaperTest, APdfThatCannotBeWrittenLeavesTheStoredOneAndSaysWhy)
{
    DataManager manager(context());
    auto list = makeList("Imports");
    const QString pdf = storePaperWithPdf(manager, list.get(), "%PDF stored");
    const QString picked = folders.root() + "/picked.pdf";
    writeFile(picked, QByteArray(300'000, 'p'));
    server.setResponse({.status = 200, .body = QByteArray(300'000, 'd')});
    struct Source { bool download, file; } const sources[] = {{false, true}, {true, false}, {true, true}};
    for (qint64 room : {0, 100'000}) {
        for (const Source source : sources) {
            SCOPED_TRACE(testing::Message() << room << " " << source.download << source.file);
            ImportablePaper form;
            fillAllButPdf(form);
            if (source.download)
                form.setPdfURL(server.url("/paper.pdf"));
            if (source.file)
                form.setFileURL(QUrl::fromLocalFile(picked));
            const FullDisk disk(room);
            EXPECT_EQ(failureOf(form, list.get()), "The PDF could not be saved: No space left on device");
            EXPECT_EQ(TemporaryDataFolder::readAll(pdf), "%PDF stored");
            EXPECT_EQ(hiddenFilesIn(listedFolder()), QStringList{});
            EXPECT_EQ(hiddenFilesIn(folders.temporary()), QStringList{});
        }
    }
}

TEST_P(ImportablePaperTest, ThePickedFileWinsAlsoWhenTheFormGoesDuringTheDownload)
{
    auto list = makeList("Imports");
    LocalHttpServer::Response held{.status = 200, .body = "%PDF downloaded"};
    held.behaviour = LocalHttpServer::Response::Behaviour::held;
    server.setResponse(held);
    const QString first = folders.root() + "/first.pdf", second = folders.root() + "/second.pdf";
    writeFile(first, "%PDF first");
    writeFile(second, "%PDF second");

    // The form stays and the user picks another file meanwhile, or the form is closed.
    for (const bool closed : {false, true}) {
        SCOPED_TRACE(closed);
        auto form = std::make_unique<ImportablePaper>();
        fillAllButPdf(*form);
        form->setPdfURL(server.url("/paper.pdf"));
        form->setFileURL(QUrl::fromLocalFile(first));
        const qsizetype asked = server.requests().size();
        QCoro::Task<PaperPtr> importing = form->importPaper(list.get());
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == asked + 1; }, 10000));
        if (closed)
            form.reset();
        else
            form->setFileURL(QUrl::fromLocalFile(second));
        server.release();
        PaperPtr paper = awaitTask(std::move(importing));
        EXPECT_EQ(TemporaryDataFolder::readAll(paper->localURL().toLocalFile()), closed ? "%PDF first" : "%PDF second");
    }
}
