#pragma once

#include "EntityDescription.h"

#include <QList>
#include <QString>

// The set of stored model types and the version of their layout. A file whose
// recorded version is newer than this one is refused rather than misread.
class Schema {
public:
    Schema(QList<const EntityDescription *> entities, QString version);

    const QList<const EntityDescription *> &entities() const { return m_entities; }
    const QString &version() const { return m_version; }
    const EntityDescription *entityNamed(const QString &name) const;

    // Orders dotted versions numerically ("1.10.0" > "1.9.2"); missing parts count as 0.
    static int compareVersions(const QString &a, const QString &b);

private:
    QList<const EntityDescription *> m_entities;
    QString m_version;
};
