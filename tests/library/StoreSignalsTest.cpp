// The store's fine-grained change signals: which object joined or left which
// relationship where, and which result a live query gained or lost where. A
// view replays them on its own copy instead of reading everything again, so
// the tests replay them too and compare with the real lists after every step.
#include "DataManager.h"
#include "LibrarySchema.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "ModelQuery.h"
#include "Paper.h"
#include "PaperList.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"
#include "UserFolders.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <random>

namespace {

PaperPtr paper(const QString &id)
{
    auto p = std::make_shared<Paper>();
    p->setId(id);
    return p;
}

// One relationship of one object, rebuilt from nothing but its signals.
class RelationMirror {
public:
    RelationMirror(PersistentModel &owner, int property)
        : m_owner(&owner), m_property(property), m_items(owner.related(property).value_or(PersistentModel::RelatedList{}))
    {
        QObject::connect(&owner, &PersistentModel::relatedInserted, &m_guard,
                         [this](int property, qsizetype position, PersistentModel *object) {
                             if (property != m_property)
                                 return;
                             ASSERT_GE(position, 0);
                             ASSERT_LE(position, m_items.size());
                             m_items.insert(position, object);
                             log.append(QStringLiteral("+%1").arg(position));
                             checkOtherSide(object, true);
                         });
        QObject::connect(&owner, &PersistentModel::relatedRemoved, &m_guard,
                         [this](int property, qsizetype position, PersistentModel *object) {
                             if (property != m_property)
                                 return;
                             ASSERT_GE(position, 0);
                             ASSERT_LT(position, m_items.size());
                             EXPECT_EQ(m_items.at(position), object);
                             m_items.removeAt(position);
                             log.append(QStringLiteral("-%1").arg(position));
                             checkOtherSide(object, false);
                         });
    }

    const PersistentModel::RelatedList &items() const { return m_items; }
    PersistentModel::RelatedList actual() const
    {
        return m_owner->related(m_property).value_or(PersistentModel::RelatedList{});
    }
    QStringList log;

private:
    // For kept objects both sides agree by the time either side is announced.
    void checkOtherSide(PersistentModel *object, bool linked)
    {
        if (!m_owner->modelContext() || object->modelContext() != m_owner->modelContext())
            return;
        const int inverse = m_owner->entity().inverseIndex(m_property);
        EXPECT_EQ(object->related(inverse).value_or(PersistentModel::RelatedList{}).contains(m_owner), linked);
    }

    PersistentModel *m_owner;
    int m_property;
    PersistentModel::RelatedList m_items;
    QObject m_guard;
};

constexpr int papersProperty = int(PaperList::Property::papers);
constexpr int inListsProperty = int(Paper::Property::inLists);

class StoreSignals : public ::testing::Test {
protected:
    StoreSignals() : container((testApp(), LibrarySchema::schema()), LibrarySchema::configuration(folder.path())) {}
    ModelContext &context() { return container.mainContext(); }
    PaperListPtr makeList(const QString &name)
    {
        auto list = std::make_shared<PaperList>(name, QList<Paper *>{});
        context().insert(list);
        return list;
    }

    UserFolders userFolders;
    TemporaryDataFolder folder;
    ModelContainer container;
};

} // namespace

TEST_F(StoreSignals, EachSideOfALinkIsAnnouncedWithItsPositionBeforeThePropertyChange)
{
    auto list = makeList(QStringLiteral("L"));
    auto other = makeList(QStringLiteral("M"));
    auto a = paper(QStringLiteral("a"));
    auto b = paper(QStringLiteral("b"));
    a->addToList(other.get());
    context().insert(a);
    context().insert(b);

    QStringList order;
    const auto record = [&](QObject *sender, const QString &name) {
        QObject::connect(static_cast<PersistentModel *>(sender), &PersistentModel::relatedInserted, sender,
                         [&, name](int, qsizetype position) { order << name + QStringLiteral("+%1").arg(position); });
        QObject::connect(static_cast<PersistentModel *>(sender), &PersistentModel::relatedRemoved, sender,
                         [&, name](int, qsizetype position) { order << name + QStringLiteral("-%1").arg(position); });
    };
    record(list.get(), QStringLiteral("L"));
    record(a.get(), QStringLiteral("a"));
    record(b.get(), QStringLiteral("b"));
    QObject::connect(list.get(), &PaperList::changed, list.get(), [&] { order << QStringLiteral("L changed"); });
    QObject::connect(a.get(), &Paper::changed, a.get(), [&] { order << QStringLiteral("a changed"); });
    QObject::connect(b.get(), &Paper::changed, b.get(), [&] { order << QStringLiteral("b changed"); });

    list->addPaper(b.get());
    list->addPaper(a.get());
    EXPECT_EQ(order, (QStringList{"b+0", "L+0", "b changed", "L changed", "a+1", "L+1", "a changed", "L changed"}));

    order.clear();
    list->removePaper(b.get());
    EXPECT_EQ(order, (QStringList{"b-0", "L-0", "b changed", "L changed"}));

    // Replacing one side: leavers one at a time, then newcomers appended.
    order.clear();
    a->setInLists(QList<PaperList *>{list.get()});
    EXPECT_EQ(order, (QStringList{"a-0", "a changed"}));
}

TEST_F(StoreSignals, ReplayingTheSignalsRebuildsEveryListThroughAnyEdit)
{
    QList<PaperListPtr> lists;
    QList<PaperPtr> papers;
    for (int i = 0; i < 4; ++i)
        lists << makeList(QString::number(i));
    for (int i = 0; i < 12; ++i) {
        papers << paper(QStringLiteral("p%1").arg(i));
        context().insert(papers.last());
    }
    context().save();

    std::vector<std::unique_ptr<RelationMirror>> mirrors;
    for (const auto &list : lists)
        mirrors.push_back(std::make_unique<RelationMirror>(*list, papersProperty));
    for (const auto &p : papers)
        mirrors.push_back(std::make_unique<RelationMirror>(*p, inListsProperty));

    std::mt19937 random(20240611);
    const auto anyList = [&] { return lists[random() % lists.size()].get(); };
    const auto anyPaper = [&] { return papers[random() % papers.size()].get(); };
    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE(step);
        switch (random() % 6) {
        case 0:
        case 1:
            anyList()->addPaper(anyPaper());
            break;
        case 2:
            anyPaper()->addToList(anyList());
            break;
        case 3: {
            PaperList *list = anyList();
            const auto held = list->papers().value_or(QList<Paper *>{});
            if (!held.isEmpty())
                list->removePaper(held[random() % held.size()]);
            break;
        }
        case 4: {
            // Keep some, drop some, add some, in a shuffled order.
            Paper *p = anyPaper();
            QList<PaperList *> next;
            for (const auto &list : lists) {
                if (random() % 2)
                    next.append(list.get());
            }
            std::shuffle(next.begin(), next.end(), random);
            p->setInLists(next);
            break;
        }
        case 5:
            if (step % 40 == 5)
                context().save();
            break;
        }
        for (const auto &mirror : mirrors)
            ASSERT_EQ(mirror->items(), mirror->actual());
    }

    // Deleting objects unlinks them, announced on every side that held them.
    context().deleteObject(papers[3].get());
    context().deleteObject(lists[1].get());
    for (const auto &mirror : mirrors)
        EXPECT_EQ(mirror->items(), mirror->actual());
}

TEST_F(StoreSignals, APlainObjectGoingAwayIsAnnouncedWhereItWasHeld)
{
    auto plainList = std::make_shared<PaperList>();
    RelationMirror mirror(*plainList, papersProperty);
    auto x = paper(QStringLiteral("x"));
    auto y = paper(QStringLiteral("y"));
    plainList->addPaper(x.get());
    plainList->addPaper(y.get());
    EXPECT_EQ(mirror.log, (QStringList{"+0", "+1"}));
    x.reset();
    EXPECT_EQ(mirror.log, (QStringList{"+0", "+1", "-0"}));
    EXPECT_EQ(mirror.items(), mirror.actual());
}

TEST_F(StoreSignals, TheLiveQueryReportsWhereResultsCameAndWent)
{
    auto first = makeList(QStringLiteral("1"));
    ModelQuery query(context(), PaperList::entityDescription());
    QStringList order;
    QObject::connect(&query, &ModelQuery::inserted, &query, [&](qsizetype position) {
        order << QStringLiteral("inserted %1 %2").arg(position).arg(query.resultsAs<PaperList>().at(position)->name());
    });
    QObject::connect(&query, &ModelQuery::removed, &query, [&](qsizetype position, PersistentModel *object) {
        // Already gone from the results, still readable.
        EXPECT_EQ(query.indexOf(object), -1);
        order << QStringLiteral("removed %1 %2").arg(position).arg(static_cast<PaperList *>(object)->name());
    });
    QObject::connect(&query, &ModelQuery::resultChanged, &query, [&](qsizetype position, int property) {
        order << QStringLiteral("changed %1 %2").arg(position).arg(property);
    });
    QObject::connect(&query, &ModelQuery::changed, &query, [&] { order << QStringLiteral("changed"); });

    auto second = makeList(QStringLiteral("2"));
    auto third = makeList(QStringLiteral("3"));
    second->setName(QStringLiteral("two"));
    auto p = paper(QStringLiteral("p"));
    context().insert(p);
    third->addPaper(p.get());
    context().deleteObject(second.get());
    p->setTitle(QStringLiteral("not a list: not in this query"));

    EXPECT_EQ(order, (QStringList{
                         "inserted 1 2", "changed",
                         "inserted 2 3", "changed",
                         "changed 1 1", "changed",
                         "changed 2 3", "changed",
                         "removed 1 two", "changed",
                     }));
    EXPECT_EQ(query.resultsAs<PaperList>(), (QList<PaperListPtr>{first, third}));
}

TEST_F(StoreSignals, AStoredListFindsItsPapersByIdWithoutReadingTheOthers)
{
    {
        auto list = makeList(QStringLiteral("long"));
        for (int i = 0; i < 300; ++i)
            list->addPaper(paper(QStringLiteral("p%1").arg(i)).get());
        auto elsewhere = makeList(QStringLiteral("elsewhere"));
        elsewhere->addPaper(paper(QStringLiteral("only elsewhere")).get());
        context().save();
    }
    ModelContainer reopened(LibrarySchema::schema(), LibrarySchema::configuration(folder.path()));
    ModelContext &context = reopened.mainContext();
    const auto lists = ModelQuery(context, PaperList::entityDescription()).resultsAs<PaperList>();
    PaperList *list = lists[0].get();
    const QList<Paper *> held = list->papers().value_or(QList<Paper *>{});
    ASSERT_EQ(held.size(), 300);
    // Kept alive past a removal, which deletes a paper in no list.
    QList<PaperPtr> keep;
    for (Paper *p : held)
        keep.append(std::static_pointer_cast<Paper>(p->shared_from_this()));
    const auto readCount = [&] {
        return std::count_if(held.begin(), held.end(), [](Paper *p) { return !p->isFault(); });
    };

    struct Case {
        const char *name;
        QString id;
        bool alreadyThere;
    };
    const Case cases[] = {
        {"a stored member under another object", QStringLiteral("p150"), true},
        {"stored, but in another list", QStringLiteral("only elsewhere"), false},
        {"not stored at all", QStringLiteral("new"), false},
        {"differs only in case", QStringLiteral("P150"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const qsizetype before = list->paperCount();
        list->addPaper(paper(c.id).get());
        EXPECT_EQ(list->paperCount(), before + (c.alreadyThere ? 0 : 1));
    }
    EXPECT_EQ(readCount(), 0);   // not even p150, which the index found

    // Unsaved work counts too: a member renamed in memory, and one just added.
    held[10]->setId(QStringLiteral("renamed"));
    EXPECT_EQ(list->papersWithId(QStringLiteral("p10")), QList<Paper *>{});
    EXPECT_EQ(list->papersWithId(QStringLiteral("renamed")), QList<Paper *>{held[10]});
    EXPECT_EQ(list->papersWithId(QStringLiteral("new")).size(), 1);

    DataManager manager(context);
    Paper *removed = held[200];
    const qsizetype before = list->paperCount();
    manager.remove(removed, list);
    EXPECT_EQ(list->paperCount(), before - 1);
    EXPECT_FALSE(list->papers()->contains(removed));
    EXPECT_EQ(readCount(), 2);   // the renamed one, and the removed one as it went
}
