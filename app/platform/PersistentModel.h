#pragma once

#include "EntityDescription.h"

#include <QList>
#include <QObject>
#include <QVariant>

#include <memory>
#include <optional>

class ModelContext;

// The base of every stored model object. Its property values live in backing
// storage addressed by property index. An object made for an existing row is
// a fault: it reads its values from the store only when one is first used, so
// opening a large library does not read every paper.
//
// Relationships are to-many lists of raw pointers with an inverse, in the
// order the links were made (the order the store gives back). For an object
// that a context keeps, changing one side changes the other. A plain
// object changes only its own side until it is inserted, when the context
// completes the other sides: a search result or a half-made import that links
// itself to a stored list must not show up in that list, nor reach the store,
// unless somebody inserts it. An object that goes away unlinks itself, so a
// pointer in a relationship always names a live object.
//
// Identity is the object itself: two objects are equal only when they are the
// same object; a context keeps one object per stored row.
class PersistentModel : public QObject, public std::enable_shared_from_this<PersistentModel> {
    Q_OBJECT
public:
    struct Fault {};
    using RelatedList = QList<PersistentModel *>;

    ~PersistentModel() override;

    const EntityDescription &entity() const { return *m_entity; }
    // The context that keeps this object, or null for a plain (unsaved, uninserted) object.
    ModelContext *modelContext() const { return m_context; }
    // 0 until the row is saved.
    qint64 persistentRowId() const { return m_rowId; }
    bool isFault() const { return m_values.isEmpty(); }

    // Generic access by property index, for code that works on any entity.
    QVariant value(int property) const;
    void setValue(int property, const QVariant &value);
    std::optional<RelatedList> related(int property) const;
    // Replaces a relationship, linking and unlinking the other sides to match.
    // Objects that stay keep their places and new ones are appended in the given
    // order, as the store would give them back.
    void setRelated(int property, const std::optional<RelatedList> &objects);
    // Appends one object unless it is already there (by identity); links the other side.
    void appendRelated(int property, PersistentModel *object);
    // Takes one object out (by identity), unlinking the other side; nothing when absent.
    void removeRelated(int property, PersistentModel *object);
    // How many objects a relationship holds, without making objects for them when
    // they have not been read yet.
    qsizetype relatedCount(int property) const;

signals:
    // `object` joined or left this object's relationship `property` at `position`.
    // Sent for each side of each link once both sides agree, and before the
    // property's own change notice. A position is that of its moment, so
    // replaying the signals in order on a copy of the list gives the current
    // list. `object` may be on its way out (a plain object being destroyed):
    // compare it, never call it.
    void relatedInserted(int property, qsizetype position, PersistentModel *object);
    void relatedRemoved(int property, qsizetype position, PersistentModel *object);

protected:
    // A new object; the subclass assigns every value with initValue().
    explicit PersistentModel(const EntityDescription &entity);
    PersistentModel(const EntityDescription &entity, Fault);

    // Sets a value without reporting a change, for constructors.
    void initValue(int property, const QVariant &value);

    // Called once for every write of a property (value, relationship, or the
    // other side of a relationship), even when the value is equal.
    virtual void propertyDidChange(int property) = 0;

private:
    friend class ModelContext;

    struct Relation {
        bool loaded = false;
        bool present = true;   // false: the optional list is absent
        RelatedList objects;
    };

    void ensureValues() const;
    Relation &relation(int property) const;
    void didChange(int property);
    // One side only, silently: the position it took or left, or -1 when nothing
    // changed. The caller keeps the other side and the context in step and announces.
    qsizetype addLinkSide(int property, PersistentModel *object);
    qsizetype removeLinkSide(int property, PersistentModel *object);
    // Both sides of one link of a kept object, the context told, then both announced.
    void link(int property, PersistentModel *object, RelatedList &touched);
    void unlinkAt(int property, qsizetype position, RelatedList &touched);
    void noteLink(int property, PersistentModel *other, bool added);
    // Forgets every link without touching the other sides (used when a context
    // lets go of all its objects at once).
    void dropLinksSilently();
    // Plain objects linked to this one from their side only.
    void forgetPlainReferrer(PersistentModel *object);
    void notePlainLink(PersistentModel *object, bool added);

    const EntityDescription *m_entity;
    ModelContext *m_context = nullptr;
    // Set by the context while it keeps the object; cleared when it lets go.
    std::shared_ptr<PersistentModel> m_keeper;
    qint64 m_rowId = 0;
    mutable bool m_unreadable = false;
    mutable QList<QVariant> m_values;
    mutable std::vector<Relation> m_relations;
    QList<PersistentModel *> m_plainReferrers;
};
