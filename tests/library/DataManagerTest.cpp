#include "DataManager.h"
#include "LibraryFixture.h"
#include "PaperError.h"
#include "TransferablePaper.h"

#include <QFile>

#include <sys/inotify.h>
#include <unistd.h>

using DataManagerTest = LibraryFixture;
INSTANTIATE_TEST_SUITE_P(, DataManagerTest, ::testing::Bool(), cloudName);

namespace {
QList<QString> idsOf(const std::optional<QList<Paper *>> &papers)
{
    QList<QString> ids;
    for (Paper *paper : papers.value_or(QList<Paper *>{}))
        ids << paper->id();
    return ids;
}
} // namespace

TEST_P(DataManagerTest, TheCloudDocumentsFolderIsMadeOnce)
{
    const QString documents = folders.cloudContainer() + "/Documents";
    testing::internal::CaptureStdout();
    DataManager first(context());
    DataManager second(context());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(QFileInfo(documents).isDir(), withCloud());
    EXPECT_EQ(DataManager::documentsURL().has_value(), withCloud());
}

TEST(DataManagerFailures, AFolderThatCannotBeMadeOrListedIsPrinted)
{
    testApp();
    UserFolders folders(true);
    TemporaryDataFolder store;
    ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration(store.path()));
    // A dangling link: nothing exists there, yet nothing can be made or listed there.
    ASSERT_TRUE(QFile::link(folders.root() + "/nowhere", folders.cloudContainer() + "/Documents"));
    testing::internal::CaptureStdout();
    DataManager manager(container.mainContext());
    EXPECT_FALSE(DataManager::fileExists(QUrl::fromLocalFile(folders.cloudContainer() + "/Documents/x.pdf")));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.rfind("Failed to init iCloud Drive: ", 0), 0u) << printed;
    EXPECT_NE(printed.find("\nFailed to get contents of iCloud drive\n"), std::string::npos) << printed;
}

TEST_P(DataManagerTest, PresenceWithACloudFolderSeesOnlyItsVisibleEntries)
{
    DataManager manager(context());
    const QString temporaryFile = folders.temporary() + "/t.pdf";
    writeFile(temporaryFile);
    EXPECT_EQ(DataManager::fileExists(QUrl::fromLocalFile(temporaryFile)), !withCloud());

    const QString hidden = listedFolder() + "/.placeholder.pdf";
    writeFile(hidden);
    EXPECT_EQ(DataManager::fileExists(QUrl::fromLocalFile(hidden)), !withCloud());

    const QString direct = listedFolder() + "/d.pdf";
    writeFile(direct);
    EXPECT_TRUE(DataManager::fileExists(QUrl::fromLocalFile(direct)));
    EXPECT_FALSE(DataManager::fileExists(QUrl::fromLocalFile(listedFolder() + "/missing.pdf")));
}

TEST(DataManagerCost, APresenceTestLooksUpOneNameWithoutListingTheFolder)
{
    UserFolders folders(true);
    const QString documents = folders.cloudContainer() + "/Documents";
    QDir().mkpath(documents + "/inner");
    TemporaryDataFolder::write(documents + "/a.pdf", "%PDF-1.4");
    TemporaryDataFolder::write(documents + "/inner/b.pdf", "%PDF-1.4");
    // Listing a folder reads it, which inotify reports as an access; looking up one name does not.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(documents).constData(), IN_ACCESS), 0);
    char events[4096];
    const auto listed = [&] { return ::read(watch, events, sizeof events) > 0; };

    EXPECT_TRUE(DataManager::fileExists(QUrl::fromLocalFile(documents + "/a.pdf")));
    EXPECT_FALSE(DataManager::fileExists(QUrl::fromLocalFile(documents + "/missing.pdf")));
    EXPECT_FALSE(DataManager::fileExists(QUrl::fromLocalFile(documents + "/inner/b.pdf")));
    EXPECT_FALSE(listed()) << "the documents folder was listed";
    QDir(documents).entryList();
    EXPECT_TRUE(listed()) << "the watch does not see a listing";
    ::close(watch);
}

TEST_P(DataManagerTest, AddingKeepsOneStoredPaperPerIdentifier)
{
    DataManager manager(context());
    auto reading = makeList("Reading");
    auto later = makeList("Later");

    auto stored = makePaper("2201.00001");
    manager.add(stored, reading.get());
    manager.add(stored, reading.get()); // twice: still one link each way
    EXPECT_EQ(idsOf(reading->papers()), QList<QString>{"2201.00001"});
    EXPECT_EQ(stored->inLists()->size(), 1);

    // A fresh search result for the same paper links the stored one instead.
    auto result = makePaper("2201.00001");
    manager.add(result, later.get());
    EXPECT_EQ(context().fetchCount(Paper::withId("2201.00001")), 1);
    EXPECT_EQ(stored->inLists()->size(), 2);
    EXPECT_EQ(later->papers()->size(), 1);
    EXPECT_EQ(later->papers()->first(), stored.get());
    EXPECT_FALSE(result->inLists().value_or(QList<PaperList *>{}).contains(later.get()));
    EXPECT_EQ(result->modelContext(), nullptr);
}

TEST_P(DataManagerTest, ADropAddsInOrderAndMergesDuplicates)
{
    DataManager manager(context());
    auto list = makeList("Dropped");
    QList<TransferablePaper> values;
    for (const char *id : {"c", "a", "b", "a"}) {
        TransferablePaper value(*makePaper(id));
        value.notes = QStringLiteral("note of ") + id;
        values << value;
    }
    context().transaction([&] { manager.add(values, list.get()); });
    EXPECT_EQ(idsOf(list->papers()), (QList<QString>{"c", "a", "b"}));
    EXPECT_EQ(context().fetchCount(Paper::withId("a")), 1);
    EXPECT_EQ(list->papers()->at(1)->notes(), "note of a");
    manager.add(QList<TransferablePaper>{}, list.get());
    EXPECT_EQ(list->papers()->size(), 3);
}

TEST_P(DataManagerTest, RemovingFromTheLastListDeletesPaperAndPdf)
{
    DataManager manager(context());
    auto first = makeList("First");
    auto second = makeList("Second");
    auto paper = makePaper("2201.00002");
    manager.add(paper, first.get());
    manager.add(paper, second.get());
    const QString pdf = paper->localURL().toLocalFile();
    writeFile(pdf);

    manager.remove(paper.get(), first.get());
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(context().fetchCount(Paper::withId("2201.00002")), 1);
    EXPECT_TRUE(idsOf(first->papers()).isEmpty());

    manager.remove(paper.get(), second.get());
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(context().fetchCount(Paper::withId("2201.00002")), 0);
    context().save();
}

TEST_P(DataManagerTest, APdfOnlyInTheTemporaryFolder)
{
    DataManager manager(context());
    auto list = makeList("Only");
    auto paper = makePaper("2201.00003");
    const QString temporaryPdf = paper->localURL().toLocalFile();
    writeFile(temporaryPdf);
    manager.add(paper, list.get());
    manager.remove(paper.get(), list.get());
    // The presence test with a cloud folder does not see the temporary folder.
    EXPECT_EQ(QFile::exists(temporaryPdf), withCloud());
    EXPECT_EQ(context().fetchCount(Paper::withId("2201.00003")), 0);
}

TEST_P(DataManagerTest, AnUndeletablePdfKeepsThePaperInNoList)
{
    DataManager manager(context());
    auto list = makeList("Locked");
    auto paper = makePaper("2201.00004");
    manager.add(paper, list.get());
    // A non-empty folder where the PDF should be cannot be removed, not even by root.
    const QString pdf = paper->localURL().toLocalFile();
    writeFile(pdf + "/inside");
    EXPECT_THROW(manager.remove(paper.get(), list.get()), PaperError);
    EXPECT_TRUE(QFile::exists(pdf + "/inside"));
    EXPECT_EQ(context().fetchCount(Paper::withId("2201.00004")), 1);
    EXPECT_TRUE(paper->inLists().value_or(QList<PaperList *>{}).isEmpty());
}
