#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Paper.h"
#include "PaperList.h"
#include "SqliteModelStore.h"
#include "StoreWriteError.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// More than a few pages of text: storing it needs the file to grow.
PaperPtr bulkyPaper(const QString &id)
{
    auto paper = std::make_shared<Paper>();
    paper->setId(id);
    paper->setSummary(QStringLiteral("A long abstract that fills pages. ").repeated(2000));
    return paper;
}

int storedPapers(const QString &file, const char *id)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM Paper WHERE id = ?", -1, &stmt, nullptr);
    sqlite3_bind_text(stmt, 1, id, -1, SQLITE_STATIC);
    const int count = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return count;
}

struct Library {
    explicit Library(const QString &folder)
        : container(LibrarySchema::schema(), LibrarySchema::configuration(folder))
    {
        context().setRetryInterval(10ms);
    }
    ModelContext &context() { return container.mainContext(); }
    // The file may not grow past its present size, as on a disk that is full.
    void fillDisk() { container.store().database().exec(QStringLiteral("PRAGMA max_page_count = 1")); }
    void freeSpace() { container.store().database().exec(QStringLiteral("PRAGMA max_page_count = 1000000")); }
    ModelContainer container;
};

} // namespace

TEST(FailedSave, IsToldOnceRetriedByItselfAndWrittenWhenSpaceReturns)
{
    testApp();
    TemporaryDataFolder folder;
    const QString file = folder.filePath(QStringLiteral("LocalStore.sqlite"));
    Library library(folder.path());
    ModelContext &context = library.context();
    QSignalSpy failed(&context, &ModelContext::saveFailed);
    QSignalSpy saved(&context, &ModelContext::didSave);
    auto list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
    context.insert(list);
    context.save();
    saved.clear();

    library.fillDisk();
    PaperPtr paper = bulkyPaper(QStringLiteral("full"));
    paper->addToList(list.get());
    context.insert(paper);
    try {
        context.save();
        FAIL() << "the save went through on a full disk";
    } catch (const StoreWriteError &error) {
        EXPECT_EQ(error.reason(), StoreWriteError::Reason::diskFull);
        EXPECT_EQ(error.description(), "Brivet could not save your library: the disk is full. "
                                       "Your changes are kept and saved as soon as it can.");
        EXPECT_TRUE(error.detail().contains("database or disk is full")) << error.detail().toStdString();
    }
    EXPECT_EQ(failed.count(), 1);
    ASSERT_TRUE(context.saveFailure());
    // The automatic save of the change and several retries fail too, and none of them tells again.
    QTest::qWait(100);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_TRUE(context.hasChanges());
    EXPECT_EQ(context.fetchCount(Paper::withId(QStringLiteral("full"))), 1) << "the change stays";
    EXPECT_EQ(storedPapers(file, "full"), 0);

    // Space returns; nothing else happens, and the change reaches the file.
    library.freeSpace();
    EXPECT_TRUE(QTest::qWaitFor([&] { return saved.count() == 1; }, 10000));
    EXPECT_FALSE(context.saveFailure());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(storedPapers(file, "full"), 1);
    EXPECT_EQ(paper->inLists()->value(0), list.get());

    // A later failure is a new run, told again.
    library.fillDisk();
    context.insert(bulkyPaper(QStringLiteral("again")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return failed.count() == 2; }, 10000));
    library.freeSpace();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !context.hasChanges(); }, 10000));
    EXPECT_EQ(storedPapers(file, "again"), 1);
}

TEST(FailedSave, TheReasonIsTheStoresOwn)
{
    testApp();
    struct Case {
        const char *name;
        const char *sql;
        StoreWriteError::Reason reason;
        QString description;
    };
    const Case cases[] = {
        {"no room", "PRAGMA max_page_count = 1", StoreWriteError::Reason::diskFull,
         "Brivet could not save your library: the disk is full. Your changes are kept and saved as soon as it can."},
        {"read-only", "PRAGMA query_only = 1", StoreWriteError::Reason::notWritable,
         "Brivet could not save your library: it cannot write to the library folder. Your changes are kept and saved "
         "as soon as it can."},
        {"refused", "CREATE TEMP TRIGGER refuse BEFORE INSERT ON Paper BEGIN SELECT RAISE(ABORT, 'refused'); END",
         StoreWriteError::Reason::other,
         "Brivet could not save your library: The library could not be read or written (refused). Your changes are "
         "kept and saved as soon as it can."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDataFolder folder;
        Library library(folder.path());
        library.container.store().database().exec(QString::fromUtf8(c.sql));
        library.context().insert(bulkyPaper(QStringLiteral("x")));
        EXPECT_THROW(library.context().save(), StoreWriteError);
        ASSERT_TRUE(library.context().saveFailure());
        EXPECT_EQ(library.context().saveFailure()->reason(), c.reason);
        EXPECT_EQ(library.context().saveFailure()->description(), c.description);
        library.context().deleteObject(library.context().fetch(Paper::withId(QStringLiteral("x"))).value(0));
        library.context().save();
        EXPECT_FALSE(library.context().saveFailure()) << "nothing left to save";
    }
}
