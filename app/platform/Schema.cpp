#include "Schema.h"

#include <QStringList>

Schema::Schema(QList<const EntityDescription *> entities, QString version)
    : m_entities(std::move(entities)), m_version(std::move(version))
{
}

const EntityDescription *Schema::entityNamed(const QString &name) const
{
    for (const EntityDescription *entity : m_entities) {
        if (entity->name() == name)
            return entity;
    }
    return nullptr;
}

int Schema::compareVersions(const QString &a, const QString &b)
{
    const QStringList pa = a.split(QLatin1Char('.'));
    const QStringList pb = b.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        const qlonglong x = i < pa.size() ? pa[i].toLongLong() : 0;
        const qlonglong y = i < pb.size() ? pb[i].toLongLong() : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
