#include "FetchDescriptor.h"

#include "BrivetError.h"

FetchDescriptor::FetchDescriptor(const EntityDescription &entity, const QString &attribute, QVariant equals)
    : m_entity(&entity), m_attribute(entity.indexOf(attribute)), m_value(std::move(equals))
{
    if (m_attribute < 0 || entity.isRelationship(m_attribute))
        throw BrivetError(QStringLiteral("%1 has no attribute named %2.").arg(entity.name(), attribute));
}
