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
        emit changed();
    });
    connect(&context, &ModelContext::objectDeleted, this, [this](PersistentModel *object) {
        const auto removed = m_results.removeIf([object](const auto &held) { return held.get() == object; });
        if (removed > 0)
            emit changed();
    });
    connect(&context, &ModelContext::objectChanged, this, [this](PersistentModel *object, int) {
        if (&object->entity() == &m_entity)
            emit changed();
    });
    connect(&context, &QObject::destroyed, this, [this] { m_results.clear(); });
}
