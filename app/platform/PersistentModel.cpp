#include "PersistentModel.h"

#include "ModelContext.h"

#include <QSet>

#include <algorithm>

PersistentModel::PersistentModel(const EntityDescription &entity)
    : m_entity(&entity)
{
    m_values.resize(entity.propertyCount());
    m_relations.resize(size_t(entity.propertyCount()));
    for (Relation &relation : m_relations)
        relation.loaded = true;
}

PersistentModel::PersistentModel(const EntityDescription &entity, Fault)
    : m_entity(&entity)
{
}

PersistentModel::~PersistentModel()
{
    // Plain objects that link here from their side only must not keep a dangling pointer.
    for (PersistentModel *referrer : std::exchange(m_plainReferrers, {})) {
        for (size_t property = 0; property < referrer->m_relations.size(); ++property) {
            const qsizetype position = referrer->m_relations[property].objects.indexOf(this);
            if (position < 0)
                continue;
            referrer->m_relations[property].objects.removeAt(position);
            emit referrer->relatedRemoved(int(property), position, this);
            referrer->didChange(int(property));
        }
    }
    // Only plain objects die while linked: a context detaches its objects
    // before letting them go. Their partners must not keep a dangling pointer.
    for (size_t property = 0; property < m_relations.size(); ++property) {
        Relation &relation = m_relations[property];
        if (!relation.loaded || relation.objects.isEmpty())
            continue;
        const int inverse = m_entity->inverseIndex(int(property));
        const RelatedList partners = std::exchange(relation.objects, {});
        for (PersistentModel *partner : partners) {
            partner->m_plainReferrers.removeAll(this);
            if (partner->m_relations.size() <= size_t(inverse) || !partner->m_relations[inverse].loaded)
                continue;
            const qsizetype position = partner->removeLinkSide(inverse, this);
            if (position >= 0) {
                noteLink(int(property), partner, false);
                emit partner->relatedRemoved(inverse, position, this);
                partner->didChange(inverse);
            }
        }
    }
}

void PersistentModel::initValue(int property, const QVariant &value)
{
    m_values[property] = value;
}

void PersistentModel::ensureValues() const
{
    if (!m_values.isEmpty())
        return;
    if (m_context) {
        if (auto loaded = m_context->loadValues(*this))
            m_values = std::move(*loaded);
        else
            m_unreadable = true;
    }
    if (m_values.size() != m_entity->propertyCount())
        m_values.resize(m_entity->propertyCount());
}

QVariant PersistentModel::value(int property) const
{
    ensureValues();
    return m_values.at(property);
}

void PersistentModel::setValue(int property, const QVariant &value)
{
    ensureValues();
    m_values[property] = value;
    didChange(property);
}

void PersistentModel::didChange(int property)
{
    if (m_context)
        m_context->objectDidChange(this, property);
    propertyDidChange(property);
}

PersistentModel::Relation &PersistentModel::relation(int property) const
{
    if (m_relations.empty())
        m_relations.resize(size_t(m_entity->propertyCount()));
    Relation &relation = m_relations[size_t(property)];
    if (!relation.loaded) {
        if (m_context && m_rowId != 0)
            relation.objects = m_context->loadRelation(*this, property);
        relation.loaded = true;
    }
    return relation;
}

std::optional<PersistentModel::RelatedList> PersistentModel::related(int property) const
{
    const Relation &r = relation(property);
    if (!r.present)
        return std::nullopt;
    return r.objects;
}

qsizetype PersistentModel::relatedCount(int property) const
{
    if (m_relations.size() > size_t(property) && m_relations[size_t(property)].loaded)
        return m_relations[size_t(property)].objects.size();
    if (m_context && m_rowId != 0)
        return m_context->countRelation(*this, property);
    return 0;
}

qsizetype PersistentModel::addLinkSide(int property, PersistentModel *object)
{
    Relation &r = relation(property);
    if (r.objects.contains(object))
        return -1;
    r.present = true;
    r.objects.append(object);
    return r.objects.size() - 1;
}

qsizetype PersistentModel::removeLinkSide(int property, PersistentModel *object)
{
    Relation &r = relation(property);
    const qsizetype position = r.objects.indexOf(object);
    if (position >= 0)
        r.objects.removeAt(position);
    return position;
}

void PersistentModel::noteLink(int property, PersistentModel *other, bool added)
{
    ModelContext *context = m_context ? m_context : other->m_context;
    if (context)
        context->linkDidChange(this, property, other, added);
}

void PersistentModel::link(int property, PersistentModel *object, RelatedList &touched)
{
    Relation &r = relation(property);
    r.present = true;
    r.objects.append(object);
    const qsizetype position = r.objects.size() - 1;
    const int inverse = m_entity->inverseIndex(property);
    const qsizetype otherPosition = object->addLinkSide(inverse, this);
    // The context first, so that a receiver finds a plain partner already kept.
    noteLink(property, object, true);
    if (otherPosition >= 0) {
        touched.append(object);
        emit object->relatedInserted(inverse, otherPosition, this);
    }
    emit relatedInserted(property, position, object);
}

void PersistentModel::unlinkAt(int property, qsizetype position, RelatedList &touched)
{
    PersistentModel *object = relation(property).objects.takeAt(position);
    const int inverse = m_entity->inverseIndex(property);
    const qsizetype otherPosition = object->removeLinkSide(inverse, this);
    noteLink(property, object, false);
    if (otherPosition >= 0) {
        touched.append(object);
        emit object->relatedRemoved(inverse, otherPosition, this);
    }
    emit relatedRemoved(property, position, object);
}

void PersistentModel::setRelated(int property, const std::optional<RelatedList> &objects)
{
    RelatedList wanted;
    QSet<PersistentModel *> wantedSet;
    if (objects) {
        for (PersistentModel *object : *objects) {
            if (object && !wantedSet.contains(object)) {
                wantedSet.insert(object);
                wanted.append(object);
            }
        }
    }
    Relation &r = relation(property);
    const QSet<PersistentModel *> previousSet(r.objects.cbegin(), r.objects.cend());
    RelatedList touched;
    // One object at a time, so that every announced position is that of its moment;
    // from the back, so that emptying a long list moves nothing.
    for (qsizetype i = relation(property).objects.size() - 1; i >= 0;
         i = std::min(i, relation(property).objects.size()) - 1) {
        PersistentModel *object = relation(property).objects.at(i);
        if (wantedSet.contains(object))
            continue;
        if (m_context) {
            unlinkAt(property, i, touched);
        } else {
            relation(property).objects.removeAt(i);
            object->notePlainLink(this, false);
            emit relatedRemoved(property, i, object);
        }
    }
    for (PersistentModel *object : std::as_const(wanted)) {
        if (previousSet.contains(object))
            continue;
        if (m_context) {
            link(property, object, touched);
        } else {
            Relation &own = relation(property);
            own.objects.append(object);
            object->notePlainLink(this, true);
            emit relatedInserted(property, own.objects.size() - 1, object);
        }
    }
    relation(property).present = objects.has_value();
    const int inverse = m_entity->inverseIndex(property);
    for (PersistentModel *object : std::as_const(touched))
        object->didChange(inverse);
    didChange(property);
}

void PersistentModel::appendRelated(int property, PersistentModel *object)
{
    Relation &r = relation(property);
    if (!object || r.objects.contains(object))
        return;
    RelatedList touched;
    if (m_context) {
        link(property, object, touched);
    } else {
        r.present = true;
        r.objects.append(object);
        object->notePlainLink(this, true);
        emit relatedInserted(property, r.objects.size() - 1, object);
    }
    for (PersistentModel *other : std::as_const(touched))
        other->didChange(m_entity->inverseIndex(property));
    didChange(property);
}

void PersistentModel::removeRelated(int property, PersistentModel *object)
{
    const qsizetype position = relation(property).objects.indexOf(object);
    if (!object || position < 0)
        return;
    RelatedList touched;
    if (m_context) {
        unlinkAt(property, position, touched);
    } else {
        relation(property).objects.removeAt(position);
        object->notePlainLink(this, false);
        emit relatedRemoved(property, position, object);
    }
    for (PersistentModel *other : std::as_const(touched))
        other->didChange(m_entity->inverseIndex(property));
    didChange(property);
}

void PersistentModel::dropLinksSilently()
{
    for (Relation &relation : m_relations)
        relation.objects.clear();
}

void PersistentModel::notePlainLink(PersistentModel *object, bool added)
{
    if (added)
        m_plainReferrers.append(object);
    else
        m_plainReferrers.removeOne(object);
}

void PersistentModel::forgetPlainReferrer(PersistentModel *object)
{
    m_plainReferrers.removeAll(object);
}
