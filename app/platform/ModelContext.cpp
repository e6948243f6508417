#include "ModelContext.h"

#include "BrivetError.h"
#include "SqliteModelStore.h"

#include <QDebug>
#include <QMetaObject>
#include <QThreadPool>

#include <algorithm>

ModelContext::ModelContext(SqliteModelStore &store, bool allowsSave)
    : m_store(store), m_allowsSave(allowsSave)
{
    m_retryTimer.setInterval(defaultRetryInterval);
    connect(&m_retryTimer, &QTimer::timeout, this, &ModelContext::autosave);
}

ModelContext::~ModelContext()
{
    // A normal quit must not lose what the user did since the last turn of the event loop.
    m_closing = true;
    try {
        save();
    } catch (const StoreWriteError &error) {
        qWarning().noquote() << "Brivet: Could not save the library on close:" << error.detail();
    } catch (const BrivetError &error) {
        qWarning().noquote() << "Brivet: Could not save the library on close:" << error.description();
    }
    m_retryTimer.stop();
    detachAll();
}

void ModelContext::detachAll()
{
    const QList<PersistentModel *> kept = m_identity.values() + m_inserted;
    // Plain objects that outlive the context must not point at objects it lets go.
    for (PersistentModel *object : kept) {
        for (size_t property = 0; property < object->m_relations.size(); ++property) {
            const PersistentModel::Relation &relation = object->m_relations[property];
            if (!relation.loaded)
                continue;
            const int inverse = object->entity().inverseIndex(int(property));
            for (PersistentModel *partner : relation.objects) {
                if (partner->m_context == this)
                    continue;
                const qsizetype position = partner->removeLinkSide(inverse, object);
                if (position >= 0) {
                    emit partner->relatedRemoved(inverse, position, object);
                    partner->propertyDidChange(inverse);
                }
            }
        }
    }
    // Objects that nobody else holds are destroyed once their keepers go, with no
    // links left to undo. In a large library that is most of the cost of closing,
    // and the context goes at quit, while the window may still be on screen: those
    // that nothing on this thread can reach any more are freed on a worker thread.
    QList<std::shared_ptr<PersistentModel>> reachable;
    auto unreachable = std::make_shared<QList<std::shared_ptr<PersistentModel>>>();
    unreachable->reserve(kept.size());
    for (PersistentModel *object : kept) {
        object->dropLinksSilently();
        object->m_context = nullptr;
        std::shared_ptr<PersistentModel> keeper = std::move(object->m_keeper);
        if (keeper.use_count() == 1 && object->m_plainReferrers.isEmpty())
            unreachable->append(std::move(keeper));
        else
            reachable.append(std::move(keeper));
    }
    m_identity.clear();
    m_inserted.clear();
    m_updated.clear();
    m_linkAdds.clear();
    m_linkAddSet.clear();
    reachable.clear();
    if (QThreadPool *pool = QThreadPool::globalInstance(); pool && !unreachable->isEmpty())
        pool->start([unreachable] { unreachable->clear(); });
}

bool ModelContext::hasChanges() const
{
    return !m_inserted.isEmpty() || !m_updated.isEmpty() || !m_deleted.isEmpty() || !m_linkAdds.isEmpty()
        || !m_linkDeletes.isEmpty();
}

void ModelContext::insert(const std::shared_ptr<PersistentModel> &object)
{
    if (!object || object->m_context == this)
        return;
    if (object->m_context)
        throw BrivetError(QStringLiteral("This object belongs to another library."));
    object->ensureValues();
    object->m_context = this;
    object->m_rowId = 0;
    object->m_keeper = object;
    m_inserted.append(object.get());

    // Links made while the object was plain were made from its side only: the
    // other sides are completed now and the links become pending. Plain partners
    // come along so that no link points outside the store.
    for (size_t property = 0; property < object->m_relations.size(); ++property) {
        const PersistentModel::RelatedList partners = object->m_relations[property].objects;
        const int inverse = object->entity().inverseIndex(int(property));
        for (PersistentModel *partner : partners) {
            partner->forgetPlainReferrer(object.get());
            if (!partner->m_context) {
                if (auto owned = partner->weak_from_this().lock())
                    insert(owned);
            }
            const qsizetype position = partner->addLinkSide(inverse, object.get());
            linkDidChange(object.get(), int(property), partner, true);
            if (position >= 0) {
                emit partner->relatedInserted(inverse, position, object.get());
                partner->didChange(inverse);
            }
        }
    }
    emit objectInserted(object.get());
    scheduleSave();
}

void ModelContext::deleteObject(PersistentModel *object)
{
    if (!object || object->m_context != this)
        return;
    // Keep it alive through the unlinking, and readable for whoever still holds it.
    const std::shared_ptr<PersistentModel> keep = object->m_keeper;
    object->ensureValues();
    for (int property = 0; property < object->entity().propertyCount(); ++property) {
        if (object->entity().isRelationship(property) && object->relatedCount(property) > 0)
            object->setRelated(property, PersistentModel::RelatedList{});
    }
    if (object->m_rowId != 0) {
        const RowKey key{&object->entity(), object->m_rowId};
        m_deleted.append(key);
        m_deletedSet.insert(key);
        m_identity.remove(key);
        m_updated.remove(object);
    } else {
        m_inserted.removeOne(object);
    }
    emit objectDeleted(object);
    object->m_context = nullptr;
    object->m_rowId = 0;
    object->m_keeper.reset();
    scheduleSave();
}

void ModelContext::insertPlainPartners()
{
    const QList<LinkKey> links = m_linkAdds;
    for (const LinkKey &link : links) {
        for (PersistentModel *end : {link.source, link.target}) {
            if (!end->m_context) {
                if (auto owned = end->weak_from_this().lock())
                    insert(owned);
            }
        }
    }
}

void ModelContext::save()
{
    // Inside a transaction everything is written together when it ends.
    if (!m_allowsSave || m_transactionDepth > 0)
        return;
    insertPlainPartners();
    if (!hasChanges()) {
        // What could not be written was undone since (a new list deleted again).
        savingWorksAgain();
        return;
    }

    QHash<PersistentModel *, qint64> newRows;
    const auto rowOf = [&](PersistentModel *object) {
        return object->m_rowId != 0 ? object->m_rowId : newRows.value(object);
    };
    try {
        m_store.begin();
        for (PersistentModel *object : std::as_const(m_inserted))
            newRows.insert(object, m_store.insertRow(object->entity(), object->m_values));
        for (PersistentModel *object : std::as_const(m_updated))
            m_store.updateRow(object->entity(), object->m_rowId, object->m_values);
        for (const RowKey &row : std::as_const(m_deleted))
            m_store.deleteRow(*row.first, row.second);
        for (const RowLink &link : std::as_const(m_linkDeletes))
            m_store.deleteLink(*link.entity, link.property, link.row, link.other);
        for (const LinkKey &link : std::as_const(m_linkAdds)) {
            const qint64 source = rowOf(link.source);
            const qint64 target = rowOf(link.target);
            if (source != 0 && target != 0)
                m_store.insertLink(*link.entity, link.property, source, target);
        }
        m_store.commit();
    } catch (const BrivetError &error) {
        // Read before the rollback, which resets it.
        const int code = m_store.lastErrorCode();
        m_store.rollback();
        failSave(error.description(), code);
    } catch (...) {
        m_store.rollback();
        throw;
    }

    for (PersistentModel *object : std::as_const(m_inserted)) {
        object->m_rowId = newRows.value(object);
        m_identity.insert(RowKey{&object->entity(), object->m_rowId}, object);
    }
    m_inserted.clear();
    m_updated.clear();
    m_deleted.clear();
    m_deletedSet.clear();
    m_linkAdds.clear();
    m_linkAddSet.clear();
    m_linkDeletes.clear();
    savingWorksAgain();
    emit didSave();
}

void ModelContext::savingWorksAgain()
{
    if (!m_saveFailure)
        return;
    m_saveFailure.reset();
    m_retryTimer.stop();
    qWarning().noquote() << "Brivet: The library is saved again.";
}

void ModelContext::failSave(const QString &storeDescription, int sqliteCode)
{
    StoreWriteError error(StoreWriteError::reasonFor(sqliteCode), storeDescription);
    const bool firstOfItsRun = !m_saveFailure;
    m_saveFailure = error;
    if (firstOfItsRun && !m_closing) {
        qWarning().noquote() << "Brivet: Could not save the library:" << error.detail();
        // The changes wait in memory; whoever made them may never touch the library again.
        m_retryTimer.start();
        emit saveFailed();
    }
    throw error;
}

void ModelContext::transaction(const std::function<void()> &block)
{
    ++m_transactionDepth;
    try {
        block();
    } catch (...) {
        --m_transactionDepth;
        throw;
    }
    if (--m_transactionDepth == 0)
        save();
}

void ModelContext::scheduleSave()
{
    if (m_saveScheduled)
        return;
    m_saveScheduled = true;
    QMetaObject::invokeMethod(this, &ModelContext::autosave, Qt::QueuedConnection);
}

void ModelContext::autosave()
{
    m_saveScheduled = false;
    if (m_transactionDepth > 0) {
        scheduleSave();
        return;
    }
    try {
        save();
    } catch (const StoreWriteError &) {
        // Told once when the failures began; the retry timer, the next change or
        // the close tries again.
    } catch (const BrivetError &error) {
        qWarning().noquote() << "Brivet: Could not save the library:" << error.description();
    }
}

PersistentModel *ModelContext::objectFor(const EntityDescription &entity, qint64 rowId)
{
    const RowKey key{&entity, rowId};
    if (PersistentModel *known = m_identity.value(key))
        return known;
    std::shared_ptr<PersistentModel> fault = entity.makeFault();
    fault->m_context = this;
    fault->m_rowId = rowId;
    fault->m_keeper = fault;
    m_identity.insert(key, fault.get());
    return fault.get();
}

std::shared_ptr<PersistentModel> ModelContext::object(const EntityDescription &entity, qint64 rowId)
{
    if (m_deletedSet.contains(RowKey{&entity, rowId}))
        return nullptr;
    return objectFor(entity, rowId)->m_keeper;
}

std::optional<QList<QVariant>> ModelContext::loadValues(const PersistentModel &object)
{
    try {
        if (auto values = m_store.loadValues(object.entity(), object.m_rowId))
            return values;
        qWarning().noquote() << "Brivet: A stored" << object.entity().name() << "is missing from the library.";
    } catch (const BrivetError &error) {
        qWarning().noquote() << "Brivet: Could not read a stored object:" << error.description();
    }
    return std::nullopt;
}

PersistentModel::RelatedList ModelContext::loadRelation(const PersistentModel &object, int property)
{
    PersistentModel::RelatedList related;
    const EntityDescription &destination = object.entity().property(property).destination();
    try {
        const QList<qint64> rows = m_store.linkedRowIds(object.entity(), property, object.m_rowId);
        related.reserve(rows.size());
        for (qint64 row : rows) {
            if (!m_deletedSet.contains(RowKey{&destination, row}))
                related.append(objectFor(destination, row));
        }
    } catch (const BrivetError &error) {
        qWarning().noquote() << "Brivet: Could not read stored links:" << error.description();
    }
    return related;
}

qint64 ModelContext::countRelation(const PersistentModel &object, int property)
{
    try {
        return m_store.linkCount(object.entity(), property, object.m_rowId);
    } catch (const BrivetError &error) {
        qWarning().noquote() << "Brivet: Could not count stored links:" << error.description();
        return 0;
    }
}

void ModelContext::objectDidChange(PersistentModel *object, int property)
{
    // An object whose row could not be read holds placeholders, which must
    // never be written over what the file still has.
    if (object->m_context == this && object->m_rowId != 0 && !object->m_unreadable
        && !object->entity().isRelationship(property))
        m_updated.insert(object);
    emit objectChanged(object, property);
    scheduleSave();
}

ModelContext::LinkKey ModelContext::linkKey(PersistentModel *object, int property, PersistentModel *other) const
{
    if (object->entity().isLinkSource(property))
        return {object, other, &object->entity(), property};
    return {other, object, &other->entity(), object->entity().inverseIndex(property)};
}

void ModelContext::linkDidChange(PersistentModel *object, int property, PersistentModel *other, bool added)
{
    const LinkKey key = linkKey(object, property, other);
    if (added) {
        if (m_linkAddSet.contains(key))
            return;
        m_linkAddSet.insert(key);
        m_linkAdds.append(key);
        // A plain object linked to a kept one is kept too, so that the link
        // cannot vanish with whoever held the plain object.
        for (PersistentModel *end : {object, other}) {
            if (!end->m_context) {
                if (auto owned = end->weak_from_this().lock())
                    insert(owned);
            }
        }
    } else if (m_linkAddSet.remove(key)) {
        // Never written: forgetting it is all there is to do.
        m_linkAdds.removeOne(key);
    } else if (key.source->m_rowId != 0 && key.target->m_rowId != 0) {
        m_linkDeletes.append({key.entity, key.property, key.source->m_rowId, key.target->m_rowId});
    }
    scheduleSave();
}

qint64 ModelContext::fetchCount(const FetchDescriptor &descriptor)
{
    const EntityDescription &entity = descriptor.entity();
    if (m_inserted.isEmpty() && m_updated.isEmpty() && m_deleted.isEmpty())
        return m_store.countWhere(entity, descriptor.attribute(), descriptor.value());
    return fetch(descriptor).size();
}

QList<std::shared_ptr<PersistentModel>> ModelContext::fetch(const FetchDescriptor &descriptor)
{
    const EntityDescription &entity = descriptor.entity();
    const int attribute = descriptor.attribute();
    // Stored rows whose stored value matches, unless deleted or changed since;
    // changed and new objects are judged by their values in memory.
    QList<QPair<qint64, PersistentModel *>> stored;
    for (qint64 row : m_store.rowIdsWhere(entity, attribute, descriptor.value())) {
        const RowKey key{&entity, row};
        if (m_deletedSet.contains(key))
            continue;
        PersistentModel *object = m_identity.value(key);
        if (object && m_updated.contains(object))
            continue;
        stored.append({row, object ? object : objectFor(entity, row)});
    }
    for (PersistentModel *object : std::as_const(m_updated)) {
        if (&object->entity() == &entity && object->m_values.at(attribute) == descriptor.value())
            stored.append({object->m_rowId, object});
    }
    std::sort(stored.begin(), stored.end());

    QList<std::shared_ptr<PersistentModel>> result;
    result.reserve(stored.size());
    for (const auto &[row, object] : stored)
        result.append(object->m_keeper);
    for (PersistentModel *object : std::as_const(m_inserted)) {
        if (&object->entity() == &entity && object->m_values.at(attribute) == descriptor.value())
            result.append(object->m_keeper);
    }
    return result;
}

QList<std::shared_ptr<PersistentModel>> ModelContext::fetchAll(const EntityDescription &entity)
{
    QList<std::shared_ptr<PersistentModel>> result;
    for (qint64 row : m_store.allRowIds(entity)) {
        if (!m_deletedSet.contains(RowKey{&entity, row}))
            result.append(objectFor(entity, row)->m_keeper);
    }
    for (PersistentModel *object : std::as_const(m_inserted)) {
        if (&object->entity() == &entity)
            result.append(object->m_keeper);
    }
    return result;
}
