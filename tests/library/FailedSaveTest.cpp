#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Paper.h"
#include "SqliteModelStore.h"
#include "StoreWriteError.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

// Each cause of failure in turn, on one library: the store's reason, told once
// however often the retries fail, saved by the retries alone once the cause is gone.
TEST(FailedSave, IsToldOnceWithTheStoresReasonAndRetriedUntilItWorks)
{
    testApp();
    struct Case {
        const char *cause;
        const char *cure;
        StoreWriteError::Reason reason;
        QString description;
    };
    const QString kept = " Your changes are kept and saved as soon as it can.";
    const Case cases[] = {
        {"PRAGMA max_page_count = 1", "PRAGMA max_page_count = 1000000", StoreWriteError::Reason::diskFull,
         "Brivet could not save your library: the disk is full." + kept},
        {"PRAGMA query_only = 1", "PRAGMA query_only = 0", StoreWriteError::Reason::notWritable,
         "Brivet could not save your library: it cannot write to the library folder." + kept},
        {"CREATE TEMP TRIGGER refuse BEFORE INSERT ON Paper BEGIN SELECT RAISE(ABORT, 'refused'); END",
         "DROP TRIGGER refuse", StoreWriteError::Reason::other,
         "Brivet could not save your library: The library could not be read or written (refused)." + kept},
    };
    TemporaryDataFolder folder;
    ModelContainer container(LibrarySchema::schema(), LibrarySchema::configuration(folder.path()));
    ModelContext &context = container.mainContext();
    context.setRetryInterval(10ms);
    QSignalSpy failed(&context, &ModelContext::saveFailed);
    int runs = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.cause);
        container.store().database().exec(QString::fromUtf8(c.cause));
        auto paper = std::make_shared<Paper>();
        paper->setId(QString::fromUtf8(c.cause));
        // Pages of text: storing it needs the file to grow.
        paper->setSummary(QStringLiteral("A long abstract that fills pages. ").repeated(2000));
        context.insert(paper);
        EXPECT_THROW(context.save(), StoreWriteError);
        ASSERT_TRUE(context.saveFailure());
        EXPECT_EQ(context.saveFailure()->reason(), c.reason);
        EXPECT_EQ(context.saveFailure()->description(), c.description);
        // The automatic save and the retries fail too, untold.
        QTest::qWait(60);
        EXPECT_EQ(failed.count(), ++runs);
        EXPECT_TRUE(context.hasChanges());

        container.store().database().exec(QString::fromUtf8(c.cure));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !context.hasChanges(); }, 10000)) << "no retry saved it";
        EXPECT_FALSE(context.saveFailure());
        EXPECT_NE(paper->persistentRowId(), 0);
    }
}
