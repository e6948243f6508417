#pragma once

#include "EntityDescription.h"

#include <QString>
#include <QVariant>

// Which objects a fetch or count selects: those of one entity whose attribute
// equals a value (exact comparison, no normalisation), in the order they were made.
class FetchDescriptor {
public:
    FetchDescriptor(const EntityDescription &entity, const QString &attribute, QVariant equals);

    const EntityDescription &entity() const { return *m_entity; }
    int attribute() const { return m_attribute; }
    const QVariant &value() const { return m_value; }

private:
    const EntityDescription *m_entity;
    int m_attribute;
    QVariant m_value;
};
