#include "EntityDescription.h"

#include "BrivetError.h"

EntityDescription::EntityDescription(QString name, QList<Property> properties, Factory makeFault)
    : m_name(std::move(name)), m_properties(std::move(properties)), m_makeFault(makeFault)
{
}

EntityDescription::Property EntityDescription::attribute(const QString &name, Type type, const QVariant &defaultValue)
{
    Property p;
    p.name = name;
    p.type = type;
    p.defaultValue = defaultValue;
    return p;
}

EntityDescription::Property EntityDescription::optionalAttribute(const QString &name, Type type)
{
    Property p = attribute(name, type);
    p.optional = true;
    return p;
}

EntityDescription::Property EntityDescription::indexedAttribute(const QString &name, Type type)
{
    Property p = attribute(name, type);
    p.indexed = true;
    return p;
}

EntityDescription::Property EntityDescription::relationship(const QString &name,
                                                            const EntityDescription &(*destination)(),
                                                            const QString &inverse)
{
    Property p;
    p.name = name;
    p.kind = Kind::relationship;
    p.destination = destination;
    p.inverse = inverse;
    return p;
}

int EntityDescription::indexOf(const QString &propertyName) const
{
    for (int i = 0; i < m_properties.size(); ++i) {
        if (m_properties[i].name == propertyName)
            return i;
    }
    return -1;
}

void EntityDescription::resolve() const
{
    std::call_once(m_resolved, [this] { resolveOnce(); });
}

void EntityDescription::resolveOnce() const
{
    QList<int> inverses(m_properties.size(), -1);
    QList<LinkTable> tables(m_properties.size());
    for (int i = 0; i < m_properties.size(); ++i) {
        const Property &p = m_properties[i];
        if (p.kind != Kind::relationship)
            continue;
        const EntityDescription &other = p.destination();
        const int inverse = other.indexOf(p.inverse);
        if (inverse < 0 || !other.isRelationship(inverse))
            throw BrivetError(QStringLiteral("The relationship %1.%2 has no inverse.").arg(m_name, p.name));
        inverses[i] = inverse;
        const QString ownKey = m_name + QLatin1Char('_') + p.name;
        const QString otherKey = other.name() + QLatin1Char('_') + p.inverse;
        // Both sides must agree on one table, so it is named after the side that sorts first.
        if (ownKey < otherKey)
            tables[i] = {QStringLiteral("Link_") + ownKey, QStringLiteral("source"), QStringLiteral("target")};
        else
            tables[i] = {QStringLiteral("Link_") + otherKey, QStringLiteral("target"), QStringLiteral("source")};
    }
    m_linkTables = std::move(tables);
    m_inverseIndexes = std::move(inverses);
}

int EntityDescription::inverseIndex(int index) const
{
    resolve();
    return m_inverseIndexes.at(index);
}

const EntityDescription::LinkTable &EntityDescription::linkTable(int index) const
{
    resolve();
    return m_linkTables.at(index);
}
