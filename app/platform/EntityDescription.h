#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>
#include <mutex>

class PersistentModel;

// What one stored model type looks like: its properties in declaration order
// (the order a model's Property enumeration follows) and how to build an
// empty object for an existing row.
class EntityDescription {
public:
    enum class Kind { attribute, relationship };
    // How a value is held in memory (QVariant content) and in the file:
    // text → QString, textList → QStringList, date → QDateTime (UTC, ms), url → QUrl, uuid → QUuid.
    enum class Type { text, textList, date, url, uuid };
    enum class DeleteRule { nullify };

    struct Property {
        QString name;
        Kind kind = Kind::attribute;
        // Attributes.
        Type type = Type::text;
        bool optional = false;   // none is an invalid QVariant, stored as NULL
        bool indexed = false;    // an index, never a uniqueness constraint
        QVariant defaultValue;   // what a new object starts with, when it is a constant
        // Relationships: to-many, both sides name each other.
        const EntityDescription &(*destination)() = nullptr;
        QString inverse;
        DeleteRule deleteRule = DeleteRule::nullify;
    };

    static Property attribute(const QString &name, Type type, const QVariant &defaultValue = {});
    static Property optionalAttribute(const QString &name, Type type);
    static Property indexedAttribute(const QString &name, Type type);
    static Property relationship(const QString &name, const EntityDescription &(*destination)(), const QString &inverse);

    // Where the links of a relationship are kept: one table per pair of
    // inverse relationships; `ownColumn` holds this side's row, `otherColumn` the other's.
    struct LinkTable {
        QString table;
        QString ownColumn;
        QString otherColumn;
    };

    using Factory = std::shared_ptr<PersistentModel> (*)();

    EntityDescription(QString name, QList<Property> properties, Factory makeFault);

    const QString &name() const { return m_name; }
    const QList<Property> &properties() const { return m_properties; }
    const Property &property(int index) const { return m_properties.at(index); }
    int propertyCount() const { return int(m_properties.size()); }
    int indexOf(const QString &propertyName) const;
    bool isRelationship(int index) const { return m_properties.at(index).kind == Kind::relationship; }

    // The destination's property index of the inverse of relationship `index`.
    int inverseIndex(int index) const;
    const LinkTable &linkTable(int index) const;
    // Whether relationship `index` is the side stored in a link table's `source` column.
    bool isLinkSource(int index) const { return linkTable(index).ownColumn == QLatin1String("source"); }

    // An object for a stored row whose values are read when first used.
    std::shared_ptr<PersistentModel> makeFault() const { return m_makeFault(); }

private:
    QString m_name;
    QList<Property> m_properties;
    Factory m_makeFault;
    // Resolved on first use: descriptions refer to each other, so they cannot
    // be at construction. Papers are also made on worker threads, hence the once-flag.
    void resolve() const;
    void resolveOnce() const;
    mutable std::once_flag m_resolved;
    mutable QList<int> m_inverseIndexes;
    mutable QList<LinkTable> m_linkTables;
};
