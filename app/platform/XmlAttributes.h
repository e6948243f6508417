#pragma once

#include <QMap>
#include <QString>
#include <QUtf8StringView>
#include <optional>

// The attributes of one start tag, as the XML reader saw them: a read-only
// map from attribute name (prefix included, exactly as written) to value.
// It is a view over the reader's buffers and is valid only during the
// start-of-element event; copy what must outlive it (toMap()).
class XmlAttributes {
public:
    // pairs: name, value, name, value, ..., nullptr (expat's layout).
    explicit XmlAttributes(const char *const *pairs) : m_pairs(pairs) {}

    // The value of the attribute with exactly this name, if there is one.
    std::optional<QUtf8StringView> value(QUtf8StringView name) const;
    bool contains(QUtf8StringView name) const { return value(name).has_value(); }
    qsizetype size() const;
    QMap<QString, QString> toMap() const;

private:
    const char *const *m_pairs;
};
