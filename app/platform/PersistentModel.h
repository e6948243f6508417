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
// Relationships are to-many lists of raw pointers with an inverse. For an
// object that a context keeps, changing one side changes the other. A plain
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
    void setRelated(int property, const std::optional<RelatedList> &objects);
    // Appends one object unless it is already there (by identity); links the other side.
    void appendRelated(int property, PersistentModel *object);
    // How many objects a relationship holds, without making objects for them when
    // they have not been read yet.
    qsizetype relatedCount(int property) const;

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
    // One side only; the caller keeps both sides and the context in step.
    bool addLinkSide(int property, PersistentModel *object);
    bool removeLinkSide(int property, PersistentModel *object);
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
