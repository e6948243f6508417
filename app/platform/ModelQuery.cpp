#include "ModelQuery.h"

#include "ModelContext.h"
#include "PersistentModel.h"

ModelQuery::ModelQuery(ModelContext &context, const EntityDescription &entity, QObject *parent)
    : QObject(parent), m_entity(entity), m_results(context.fetchAll(entity))
{
    connect(&context, &ModelContext::objectInserted, this, [this](PersistentModel *object) {
        if (&object->entity() != &m_entity)
            return;
        m_results.append(object->shared_from_this());
        emit inserted(m_results.size() - 1);
        emit changed();
    });
    connect(&context, &ModelContext::objectDeleted, this, [this](PersistentModel *object) {
        const qsizetype position = indexOf(object);
        if (position < 0)
            return;
        // Held until the receivers are done, whoever else lets go of it.
        const std::shared_ptr<PersistentModel> keep = m_results.takeAt(position);
        emit removed(position, object);
        emit changed();
    });
    connect(&context, &ModelContext::objectChanged, this, [this](PersistentModel *object, int property) {
        if (&object->entity() != &m_entity)
            return;
        const qsizetype position = indexOf(object);
        if (position < 0)
            return;
        emit resultChanged(position, property);
        emit changed();
    });
    connect(&context, &QObject::destroyed, this, [this] { m_results.clear(); });
}

qsizetype ModelQuery::indexOf(const PersistentModel *object) const
{
    for (qsizetype i = 0; i < m_results.size(); ++i) {
        if (m_results[i].get() == object)
            return i;
    }
    return -1;
}
