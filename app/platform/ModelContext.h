#pragma once

#include "FetchDescriptor.h"
#include "PersistentModel.h"
#include "StoreWriteError.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class SqliteModelStore;

// The one place where model objects meet the store, on the GUI thread.
//
// It keeps one object per stored row (fetching twice gives the same object)
// and holds a strong reference to every object it keeps (stored in the object
// itself, which saves a table entry per object in a large library). Changes stay in
// memory until save(), which writes all of them in one SQLite transaction;
// when that fails nothing is written and the changes stay pending. Any change
// also schedules a save for the next turn of the event loop, and the
// destructor saves what is left, so work reaches the file without an explicit
// save. While saves fail (a full disk, a folder that became read-only) the
// context tries again by itself every few seconds, whether or not anything
// else changes, until one succeeds.
class ModelContext : public QObject {
    Q_OBJECT
public:
    explicit ModelContext(SqliteModelStore &store, bool allowsSave = true);
    ~ModelContext() override;

    // Makes the context the object's keeper. Plain objects it is linked to come
    // along, as does a plain object that is later linked to one the context keeps.
    void insert(const std::shared_ptr<PersistentModel> &object);
    // Removes the object and unlinks it from every relationship (delete rule nullify).
    void deleteObject(PersistentModel *object);
    void deleteObject(const std::shared_ptr<PersistentModel> &object) { deleteObject(object.get()); }

    // Throws StoreWriteError when the store refuses the changes, which are then
    // kept pending. Inside transaction() it waits for the end of the outermost block.
    void save();
    bool hasChanges() const;

    // The latest failure while saves keep failing; none once a save succeeds.
    const std::optional<StoreWriteError> &saveFailure() const { return m_saveFailure; }
    static constexpr std::chrono::milliseconds defaultRetryInterval{5000};
    void setRetryInterval(std::chrono::milliseconds interval) { m_retryTimer.setInterval(interval); }

    // Counts and fetches see unsaved inserts, deletions and changed values.
    qint64 fetchCount(const FetchDescriptor &descriptor);
    QList<std::shared_ptr<PersistentModel>> fetch(const FetchDescriptor &descriptor);
    template <class T>
    QList<std::shared_ptr<T>> fetch(const FetchDescriptor &descriptor)
    {
        QList<std::shared_ptr<T>> typed;
        for (const auto &object : fetch(descriptor))
            typed.append(std::static_pointer_cast<T>(object));
        return typed;
    }
    // Every object of an entity, in the order they were made.
    QList<std::shared_ptr<PersistentModel>> fetchAll(const EntityDescription &entity);

    // Runs the block, then saves everything it changed in one transaction.
    // An exception from the block passes through; its changes stay pending.
    void transaction(const std::function<void()> &block);

    // The object kept for a row, made as a fault when not yet in memory.
    std::shared_ptr<PersistentModel> object(const EntityDescription &entity, qint64 rowId);

signals:
    void objectInserted(PersistentModel *object);
    void objectDeleted(PersistentModel *object);
    void objectChanged(PersistentModel *object, int property);
    void didSave();
    // Saving started to fail: once per run of failures, not on every retry;
    // saveFailure() tells why.
    void saveFailed();

private:
    friend class PersistentModel;

    using RowKey = QPair<const EntityDescription *, qint64>;
    // A link in the orientation of its link table's `source` column.
    struct LinkKey {
        PersistentModel *source;
        PersistentModel *target;
        const EntityDescription *entity;
        int property;
        bool operator==(const LinkKey &other) const
        {
            return source == other.source && target == other.target && property == other.property
                && entity == other.entity;
        }
    };
    friend size_t qHash(const LinkKey &key, size_t seed) { return qHashMulti(seed, key.source, key.target, key.property); }
    struct RowLink {
        const EntityDescription *entity;
        int property;
        qint64 row;
        qint64 other;
    };

    std::optional<QList<QVariant>> loadValues(const PersistentModel &object);
    PersistentModel::RelatedList loadRelation(const PersistentModel &object, int property);
    qint64 countRelation(const PersistentModel &object, int property);
    void objectDidChange(PersistentModel *object, int property);
    void linkDidChange(PersistentModel *object, int property, PersistentModel *other, bool added);

    PersistentModel *objectFor(const EntityDescription &entity, qint64 rowId);
    LinkKey linkKey(PersistentModel *object, int property, PersistentModel *other) const;
    void insertPlainPartners();
    void scheduleSave();
    void autosave();
    [[noreturn]] void failSave(const QString &storeDescription, int sqliteCode);
    void savingWorksAgain();
    void detachAll();

    SqliteModelStore &m_store;
    bool m_allowsSave;
    QHash<RowKey, PersistentModel *> m_identity;
    QList<PersistentModel *> m_inserted;
    QSet<PersistentModel *> m_updated;
    QList<RowKey> m_deleted;
    QSet<RowKey> m_deletedSet;
    QList<LinkKey> m_linkAdds;
    QSet<LinkKey> m_linkAddSet;
    QList<RowLink> m_linkDeletes;
    bool m_saveScheduled = false;
    int m_transactionDepth = 0;
    std::optional<StoreWriteError> m_saveFailure;
    QTimer m_retryTimer;
    bool m_closing = false;
};
