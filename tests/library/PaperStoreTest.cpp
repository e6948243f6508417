#include "BrivetError.h"
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QThread>
#include <QThreadPool>
#include <QTimeZone>

#include <sqlite3.h>

#include <atomic>

#include <gtest/gtest.h>

namespace {

struct Library {
    explicit Library(const QString &folder)
        : container(LibrarySchema::schema(), LibrarySchema::configuration(folder))
    {
    }
    ModelContext &context() { return container.mainContext(); }
    QList<PaperListPtr> lists()
    {
        return ModelQuery(context(), PaperList::entityDescription()).resultsAs<PaperList>();
    }
    ModelContainer container;
};

PaperPtr samplePaper(const QString &id)
{
    return std::make_shared<Paper>(
        id, QStringLiteral("On the Electrodynamics of Moving Bodies"),
        QStringLiteral("It is known that Maxwell's electrodynamics leads to asymmetries. ").repeated(40),
        QStringList{QStringLiteral("A. Einstein"), QStringLiteral("Ünïcode Äuthor")},
        QDateTime(QDate(1905, 6, 30), QTime(12, 0, 0, 123), QTimeZone::utc()), QStringLiteral("10.1002/andp.19053221004"),
        QUrl(QStringLiteral("http://arxiv.org/abs/") + id), QUrl(QStringLiteral("http://arxiv.org/pdf/") + id),
        std::nullopt, QStringLiteral("# Note\n\n$$E = mc^2$$"));
}

} // namespace

TEST(PaperStore, ValuesAndLinksSurviveAReopen)
{
    TemporaryDataFolder folder;
    {
        Library library(folder.path());
        auto list = std::make_shared<PaperList>(QStringLiteral("Reading"), QList<Paper *>{});
        library.context().insert(list);
        auto paper = samplePaper(QStringLiteral("2101.00001v2"));
        paper->addToList(list.get());
        library.context().insert(paper);
        library.context().save();
    }
    Library library(folder.path());
    const auto lists = library.lists();
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0]->name(), QStringLiteral("Reading"));
    EXPECT_EQ(lists[0]->icon(), QStringLiteral("folder"));
    ASSERT_EQ(lists[0]->paperCount(), 1);
    Paper *paper = lists[0]->papers()->at(0);
    const auto expected = samplePaper(QStringLiteral("2101.00001v2"));
    EXPECT_EQ(paper->id(), expected->id());
    EXPECT_EQ(paper->summary(), expected->summary());
    EXPECT_EQ(paper->authors(), expected->authors());
    EXPECT_EQ(paper->published(), expected->published());
    EXPECT_EQ(paper->doi(), expected->doi());
    EXPECT_EQ(paper->url(), expected->url());
    EXPECT_EQ(paper->pdfURL(), expected->pdfURL());
    EXPECT_EQ(paper->comment(), std::nullopt);
    EXPECT_EQ(paper->notes(), expected->notes());
    ASSERT_EQ(paper->inLists()->size(), 1);
    EXPECT_EQ(paper->inLists()->at(0), lists[0].get());
}

TEST(PaperStore, LinkOrderOnBothSidesSurvivesAReopen)
{
    TemporaryDataFolder folder;
    {
        Library library(folder.path());
        auto &context = library.context();
        QList<PaperListPtr> lists;
        for (const char *name : {"C", "A", "B"}) {
            lists.append(std::make_shared<PaperList>(QString::fromLatin1(name), QList<Paper *>{}));
            context.insert(lists.last());
        }
        context.save();
        // Papers join lists in an order unrelated to their ids or creation.
        auto p1 = samplePaper(QStringLiteral("p1"));
        auto p2 = samplePaper(QStringLiteral("p2"));
        auto p3 = samplePaper(QStringLiteral("p3"));
        for (const auto &p : {p1, p2, p3})
            context.insert(p);
        context.save();
        lists[2]->addPaper(p3.get());
        p3->addToList(lists[0].get());
        lists[2]->addPaper(p1.get());
        context.save();
        p2->addToList(lists[2].get());
        p3->addToList(lists[1].get());
        // Unlinked and linked again: it becomes the newest link.
        p3->setInLists(QList<PaperList *>{lists[0].get(), lists[1].get()});
        p3->addToList(lists[2].get());
    }
    Library library(folder.path());
    const auto lists = library.lists();
    ASSERT_EQ(lists.size(), 3);
    EXPECT_EQ(lists[0]->name(), QStringLiteral("C"));
    EXPECT_EQ(lists[2]->name(), QStringLiteral("B"));
    QStringList ids;
    for (Paper *p : lists[2]->papers().value_or(QList<Paper *>{}))
        ids.append(p->id());
    EXPECT_EQ(ids, (QStringList{QStringLiteral("p1"), QStringLiteral("p2"), QStringLiteral("p3")}));
    Paper *p3 = lists[2]->papers()->at(2);
    QStringList names;
    for (PaperList *l : p3->inLists().value_or(QList<PaperList *>{}))
        names.append(l->name());
    EXPECT_EQ(names, (QStringList{QStringLiteral("C"), QStringLiteral("A"), QStringLiteral("B")}));
}

TEST(PaperStore, IdentityIsOneObjectPerRow)
{
    TemporaryDataFolder folder;
    {
        Library library(folder.path());
        // Two stored papers with one id are allowed: the index is not a uniqueness rule.
        library.context().insert(samplePaper(QStringLiteral("dup")));
        library.context().insert(samplePaper(QStringLiteral("dup")));
    }
    Library library(folder.path());
    auto &context = library.context();
    const auto first = context.fetch<Paper>(Paper::withId(QStringLiteral("dup")));
    const auto second = context.fetch<Paper>(Paper::withId(QStringLiteral("dup")));
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(first[0], second[0]);
    EXPECT_EQ(first[1], second[1]);
    EXPECT_NE(first[0], first[1]);
    EXPECT_EQ(context.fetchCount(Paper::withId(QStringLiteral("DUP"))), 0);

    // A list's papers are the same objects a fetch gives.
    auto list = std::make_shared<PaperList>();
    context.insert(list);
    list->addPaper(first[1].get());
    EXPECT_EQ(list->papers()->at(0), first[1].get());
}

TEST(PaperStore, CountsAndFetchesSeeUnsavedWork)
{
    TemporaryDataFolder folder;
    Library library(folder.path());
    auto &context = library.context();
    const auto count = [&](const char *id) { return context.fetchCount(Paper::withId(QString::fromLatin1(id))); };

    auto a = samplePaper(QStringLiteral("a"));
    context.insert(a);
    EXPECT_EQ(count("a"), 1);
    EXPECT_EQ(context.fetch<Paper>(Paper::withId(QStringLiteral("a"))).value(0), a);
    context.save();
    EXPECT_EQ(count("a"), 1);

    a->setId(QStringLiteral("b"));
    EXPECT_EQ(count("a"), 0);
    EXPECT_EQ(count("b"), 1);
    context.save();
    EXPECT_EQ(count("b"), 1);

    context.deleteObject(a);
    EXPECT_EQ(count("b"), 0);
    EXPECT_TRUE(context.fetch(Paper::withId(QStringLiteral("b"))).isEmpty());
    context.save();
    EXPECT_EQ(count("b"), 0);

    // Inserted then deleted before any save: nothing reaches the file.
    auto c = samplePaper(QStringLiteral("c"));
    context.insert(c);
    context.deleteObject(c);
    EXPECT_EQ(count("c"), 0);
    EXPECT_FALSE(context.hasChanges());
}

TEST(PaperStore, DeletingUnlinksBothSides)
{
    TemporaryDataFolder folder;
    {
        Library library(folder.path());
        auto &context = library.context();
        auto keep = std::make_shared<PaperList>(QStringLiteral("keep"), QList<Paper *>{});
        auto drop = std::make_shared<PaperList>(QStringLiteral("drop"), QList<Paper *>{});
        context.insert(keep);
        context.insert(drop);
        auto p = samplePaper(QStringLiteral("p"));
        auto q = samplePaper(QStringLiteral("q"));
        for (const auto &paper : {p, q}) {
            paper->addToList(keep.get());
            paper->addToList(drop.get());
            context.insert(paper);
        }
        context.save();

        QSignalSpy spy(p.get(), &Paper::changed);
        context.deleteObject(drop);
        EXPECT_EQ(*p->inLists(), QList<PaperList *>{keep.get()});
        EXPECT_GE(spy.count(), 1);
        context.deleteObject(q);
        EXPECT_EQ(*keep->papers(), QList<Paper *>{p.get()});
        // The deleted object stays readable for whoever still holds it.
        EXPECT_EQ(q->id(), QStringLiteral("q"));
        EXPECT_EQ(q->modelContext(), nullptr);
    }
    Library library(folder.path());
    const auto lists = library.lists();
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0]->name(), QStringLiteral("keep"));
    ASSERT_EQ(lists[0]->paperCount(), 1);
    EXPECT_EQ(lists[0]->papers()->at(0)->inLists()->size(), 1);
    EXPECT_EQ(library.context().fetchCount(Paper::withId(QStringLiteral("q"))), 0);
}

TEST(PaperStore, SavesByItselfAfterTheEventLoopTurnAndOnClose)
{
    testApp();
    TemporaryDataFolder folder;
    const QString file = folder.filePath(QStringLiteral("LocalStore.sqlite"));
    const auto storedTitle = [&](const char *id) {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT title FROM Paper WHERE id = ?", -1, &stmt, nullptr);
        sqlite3_bind_text(stmt, 1, id, -1, SQLITE_STATIC);
        QString title;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            title = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        return title;
    };
    {
        Library library(folder.path());
        auto &context = library.context();
        QSignalSpy saved(&context, &ModelContext::didSave);
        auto paper = samplePaper(QStringLiteral("auto"));
        context.insert(paper);
        paper->setTitle(QStringLiteral("first"));
        paper->setTitle(QStringLiteral("second"));
        EXPECT_EQ(storedTitle("auto"), QString());
        QCoreApplication::processEvents();
        EXPECT_EQ(saved.count(), 1);   // several changes, one save
        EXPECT_EQ(storedTitle("auto"), QStringLiteral("second"));

        paper->setNotes(QStringLiteral("written just before quitting"));
        paper->setTitle(QStringLiteral("third"));
    }
    EXPECT_EQ(storedTitle("auto"), QStringLiteral("third"));
}

TEST(PaperStore, AFailedSaveWritesNothingAndKeepsTheChanges)
{
    TemporaryDataFolder folder;
    const QString file = folder.filePath(QStringLiteral("LocalStore.sqlite"));
    Library library(folder.path());
    auto &context = library.context();
    auto list = std::make_shared<PaperList>();
    context.insert(list);
    context.save();

    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TRIGGER refuse BEFORE INSERT ON Paper WHEN NEW.title = 'boom' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);

    auto good = samplePaper(QStringLiteral("good"));
    auto bad = samplePaper(QStringLiteral("bad"));
    bad->setTitle(QStringLiteral("boom"));
    good->addToList(list.get());
    context.insert(good);
    context.insert(bad);
    list->setName(QStringLiteral("renamed"));
    EXPECT_THROW(context.save(), BrivetError);
    EXPECT_TRUE(context.hasChanges());
    EXPECT_EQ(good->persistentRowId(), 0);

    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT (SELECT count(*) FROM Paper) + (SELECT count(*) FROM Link_PaperList_papers)", -1,
                       &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(stmt, 0), 0);
    sqlite3_finalize(stmt);

    ASSERT_EQ(sqlite3_exec(db, "DROP TRIGGER refuse", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    context.save();
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(context.fetchCount(Paper::withId(QStringLiteral("good"))), 1);
    EXPECT_NE(good->persistentRowId(), 0);
}

TEST(PaperStore, LiveListQueryFollowsListsInCreationOrder)
{
    TemporaryDataFolder folder;
    Library library(folder.path());
    auto &context = library.context();
    ModelQuery query(context, PaperList::entityDescription());
    QSignalSpy spy(&query, &ModelQuery::changed);
    EXPECT_TRUE(query.results().isEmpty());

    auto first = std::make_shared<PaperList>(QStringLiteral("1"), QList<Paper *>{});
    auto second = std::make_shared<PaperList>(QStringLiteral("2"), QList<Paper *>{});
    context.transaction([&] {
        context.insert(first);
        context.insert(second);
    });
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(query.resultsAs<PaperList>(), (QList<PaperListPtr>{first, second}));
    EXPECT_EQ(spy.count(), 2);

    second->setName(QStringLiteral("renamed"));
    EXPECT_EQ(spy.count(), 3);
    auto paper = samplePaper(QStringLiteral("x"));
    paper->addToList(first.get());   // a plain paper linking itself leaves the list as it is
    EXPECT_EQ(spy.count(), 3);
    context.deleteObject(first);
    EXPECT_EQ(query.resultsAs<PaperList>(), QList<PaperListPtr>{second});
    context.save();

    // A list made later sorts after the ones before it, also after a reopen.
    context.insert(std::make_shared<PaperList>(QStringLiteral("3"), QList<Paper *>{}));
    context.save();
    QStringList names;
    for (const auto &list : ModelQuery(context, PaperList::entityDescription()).resultsAs<PaperList>())
        names.append(list->name());
    EXPECT_EQ(names, (QStringList{QStringLiteral("renamed"), QStringLiteral("3")}));
}

TEST(PaperStore, APlainPaperLinkedToAStoredListIsStoredWithIt)
{
    TemporaryDataFolder folder;
    {
        Library library(folder.path());
        auto list = std::make_shared<PaperList>();
        library.context().insert(list);
        auto result = samplePaper(QStringLiteral("search-result"));
        list->addPaper(result.get());
        EXPECT_EQ(result->modelContext(), &library.context());
    }
    Library library(folder.path());
    EXPECT_EQ(library.lists().at(0)->papers()->at(0)->id(), QStringLiteral("search-result"));
}

TEST(PaperStore, InsertingCompletesTheOtherSideAndStoredSidesStayInStep)
{
    TemporaryDataFolder folder;
    Library library(folder.path());
    auto first = std::make_shared<PaperList>(QStringLiteral("A"), QList<Paper *>{});
    auto second = std::make_shared<PaperList>(QStringLiteral("B"), QList<Paper *>{});
    library.context().insert(first);
    library.context().insert(second);
    auto paper = samplePaper(QStringLiteral("p"));
    paper->addToList(first.get());
    QSignalSpy listSpy(first.get(), &PaperList::changed);
    library.context().insert(paper);
    EXPECT_EQ(first->papers().value_or(QList<Paper *>{}), QList<Paper *>{paper.get()});
    EXPECT_EQ(listSpy.count(), 1);

    // Once stored, replacing one side updates the other.
    paper->setInLists(QList<PaperList *>{second.get()});
    EXPECT_TRUE(first->papers().value_or(QList<Paper *>{}).isEmpty());
    EXPECT_EQ(second->papers().value_or(QList<Paper *>{}), QList<Paper *>{paper.get()});
    library.context().save();
    EXPECT_EQ(second->paperCount(), 1);
}

TEST(PaperStore, FileIsWalWithAnIdIndex)
{
    TemporaryDataFolder folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("nested/Brivet/LocalStore.sqlite"));
    {
        ModelContainer container(LibrarySchema::schema(),
                                 LibrarySchema::configuration(QFileInfo(file).absolutePath()));
        container.mainContext().insert(samplePaper(QStringLiteral("x")));
    }
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "wal");
    sqlite3_finalize(stmt);
    sqlite3_prepare_v2(db, "EXPLAIN QUERY PLAN SELECT count(*) FROM Paper WHERE id = 'x'", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_TRUE(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3))).contains(QStringLiteral("INDEX")));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

TEST(PaperStore, ObjectsHeldAfterTheLibraryClosesStaySafe)
{
    TemporaryDataFolder folder;
    PaperPtr stored;
    PaperListPtr list;
    PaperPtr plain = samplePaper(QStringLiteral("plain"));
    {
        Library library(folder.path());
        list = std::make_shared<PaperList>();
        library.context().insert(list);
        stored = samplePaper(QStringLiteral("stored"));
        stored->addToList(list.get());
        library.context().insert(stored);
        library.context().save();
        // A search result that links itself to a stored list stays a plain result.
        plain->addToList(list.get());
        EXPECT_EQ(plain->modelContext(), nullptr);
    }
    EXPECT_EQ(stored->modelContext(), nullptr);
    EXPECT_EQ(stored->id(), QStringLiteral("stored"));
    EXPECT_TRUE(stored->inLists()->isEmpty());
    EXPECT_TRUE(list->papers()->isEmpty());
    EXPECT_EQ(plain->inLists()->size(), 1);
    list.reset();   // must not touch the papers it no longer holds, and lets go of the plain one
    EXPECT_TRUE(plain->inLists()->isEmpty());

    Library library(folder.path());
    EXPECT_EQ(library.lists().at(0)->paperCount(), 1);
    EXPECT_EQ(library.context().fetchCount(Paper::withId(QStringLiteral("plain"))), 0);
}

TEST(PaperStore, ClosingFreesWhatNothingElseHoldsOffThisThread)
{
    TemporaryDataFolder folder;
    std::atomic<QThread *> freedOn = nullptr;
    PaperPtr held = samplePaper(QStringLiteral("held"));
    {
        Library library(folder.path());
        auto dropped = samplePaper(QStringLiteral("dropped"));
        library.context().insert(dropped);
        library.context().insert(held);
        QObject::connect(dropped.get(), &QObject::destroyed, [&freedOn] { freedOn = QThread::currentThread(); });
    }
    QThreadPool::globalInstance()->waitForDone();
    EXPECT_NE(freedOn.load(), nullptr);
    EXPECT_NE(freedOn.load(), QThread::currentThread());
    EXPECT_EQ(held->title(), QStringLiteral("On the Electrodynamics of Moving Bodies"));
}

TEST(PaperStore, ATransactionCommitsTogetherAndAThrowingBlockKeepsItsWork)
{
    TemporaryDataFolder folder;
    Library library(folder.path());
    auto &context = library.context();
    QSignalSpy saved(&context, &ModelContext::didSave);
    context.transaction([&] {
        for (int i = 0; i < 3; ++i) {
            context.insert(samplePaper(QString::number(i)));
            context.save();   // as the data manager does for a stored paper: waits for the end
        }
        EXPECT_EQ(saved.count(), 0);
    });
    EXPECT_EQ(saved.count(), 1);
    EXPECT_FALSE(context.hasChanges());

    EXPECT_THROW(context.transaction([&] {
        context.insert(samplePaper(QStringLiteral("late")));
        throw BrivetError(QStringLiteral("stop"));
    }),
                 BrivetError);
    EXPECT_EQ(context.fetchCount(Paper::withId(QStringLiteral("late"))), 1);
    EXPECT_TRUE(context.hasChanges());
}

TEST(PaperStore, ARowThatCouldNotBeReadIsNeverOverwritten)
{
    TemporaryDataFolder folder;
    const QString file = folder.filePath(QStringLiteral("LocalStore.sqlite"));
    {
        Library library(folder.path());
        auto list = std::make_shared<PaperList>();
        library.context().insert(list);
        // Linking keeps the plain paper even though nobody else holds it.
        list->addPaper(samplePaper(QStringLiteral("kept")).get());
    }
    const auto rawSql = [&](const char *statement) {
        sqlite3 *db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        EXPECT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    Library library(folder.path());
    Paper *paper = library.lists().at(0)->papers()->at(0);
    ASSERT_TRUE(paper->isFault());
    // Reading fails for a moment (here: the column is briefly missing).
    rawSql("ALTER TABLE Paper RENAME COLUMN title TO hidden");
    EXPECT_EQ(paper->title(), QString());
    rawSql("ALTER TABLE Paper RENAME COLUMN hidden TO title");
    paper->setNotes(QStringLiteral("typed into a paper that showed nothing"));
    library.context().save();

    Library reopened(folder.path());
    const auto stored = reopened.context().fetch<Paper>(Paper::withId(QStringLiteral("kept")));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0]->title(), samplePaper(QStringLiteral("kept"))->title());
}
