#include "PersistentModel.h"

#include "ModelContext.h"

#include <QSet>

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
            if (referrer->m_relations[property].objects.removeAll(this) > 0)
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
            if (partner->m_relations.size() > size_t(inverse) && partner->m_relations[inverse].loaded
                && partner->m_relations[inverse].objects.removeAll(this) > 0) {
                noteLink(int(property), partner, false);
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

bool PersistentModel::addLinkSide(int property, PersistentModel *object)
{
    Relation &r = relation(property);
    if (r.objects.contains(object))
        return false;
    r.present = true;
    r.objects.append(object);
    return true;
}

bool PersistentModel::removeLinkSide(int property, PersistentModel *object)
{
    return relation(property).objects.removeAll(object) > 0;
}

void PersistentModel::noteLink(int property, PersistentModel *other, bool added)
{
    ModelContext *context = m_context ? m_context : other->m_context;
    if (context)
        context->linkDidChange(this, property, other, added);
}

void PersistentModel::setRelated(int property, const std::optional<RelatedList> &objects)
{
    Relation &r = relation(property);
    const int inverse = m_entity->inverseIndex(property);

    RelatedList next;
    QSet<PersistentModel *> nextSet;
    if (objects) {
        for (PersistentModel *object : *objects) {
            if (object && !nextSet.contains(object)) {
                nextSet.insert(object);
                next.append(object);
            }
        }
    }
    const RelatedList previous = std::exchange(r.objects, next);
    r.present = objects.has_value();
    const QSet<PersistentModel *> previousSet(previous.cbegin(), previous.cend());

    if (!m_context) {
        for (PersistentModel *object : previous) {
            if (!nextSet.contains(object))
                object->notePlainLink(this, false);
        }
        for (PersistentModel *object : next) {
            if (!previousSet.contains(object))
                object->notePlainLink(this, true);
        }
        didChange(property);
        return;
    }

    RelatedList touched;
    for (PersistentModel *object : previous) {
        if (!nextSet.contains(object)) {
            if (object->removeLinkSide(inverse, this))
                touched.append(object);
            noteLink(property, object, false);
        }
    }
    for (PersistentModel *object : next) {
        if (!previousSet.contains(object)) {
            if (object->addLinkSide(inverse, this))
                touched.append(object);
            noteLink(property, object, true);
        }
    }
    for (PersistentModel *object : touched)
        object->didChange(inverse);
    didChange(property);
}

void PersistentModel::appendRelated(int property, PersistentModel *object)
{
    Relation &r = relation(property);
    if (!object || r.objects.contains(object))
        return;
    const int inverse = m_entity->inverseIndex(property);
    r.present = true;
    r.objects.append(object);
    if (!m_context) {
        object->notePlainLink(this, true);
        didChange(property);
        return;
    }
    const bool otherChanged = object->addLinkSide(inverse, this);
    noteLink(property, object, true);
    if (otherChanged)
        object->didChange(inverse);
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
