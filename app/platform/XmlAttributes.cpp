#include "XmlAttributes.h"

std::optional<QUtf8StringView> XmlAttributes::value(QUtf8StringView name) const
{
    for (const char *const *p = m_pairs; p && *p; p += 2) {
        if (QUtf8StringView(p[0]) == name)
            return QUtf8StringView(p[1]);
    }
    return std::nullopt;
}

qsizetype XmlAttributes::size() const
{
    qsizetype n = 0;
    for (const char *const *p = m_pairs; p && *p; p += 2)
        ++n;
    return n;
}

QMap<QString, QString> XmlAttributes::toMap() const
{
    QMap<QString, QString> map;
    for (const char *const *p = m_pairs; p && *p; p += 2)
        map.insert(QString::fromUtf8(p[0]), QString::fromUtf8(p[1]));
    return map;
}
