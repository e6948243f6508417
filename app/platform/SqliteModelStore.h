#pragma once

#include "EntityDescription.h"
#include "Schema.h"
#include "SqliteDatabase.h"

#include <QHash>
#include <QList>
#include <QVariant>

#include <memory>
#include <optional>

// The SQL side of the model store: one table per entity (column `pk` is the
// row's identity, the other columns are the attributes), one link table per
// pair of inverse relationships whose autoincrement `seq` records the order in
// which links were made, and a metadata table with the schema version.
//
// Opening validates the file before anything is written: a foreign file, a
// newer layout or a damaged file is refused with a readable description.
class SqliteModelStore {
public:
    SqliteModelStore(const Schema &schema, const QString &folder, const QString &filePath);
    ~SqliteModelStore();

    const Schema &schema() const { return m_schema; }
    const QString &filePath() const { return m_filePath; }

    void begin();
    void commit();
    void rollback() noexcept;
    // SQLite's primary result code of the last failure.
    int lastErrorCode() const { return m_db->lastErrorCode(); }
    // The connection itself, for what the operations here do not cover (a test
    // that limits how far the file may grow).
    SqliteDatabase &database() { return *m_db; }

    // None when the row is not there.
    std::optional<QList<QVariant>> loadValues(const EntityDescription &entity, qint64 rowId);
    qint64 insertRow(const EntityDescription &entity, const QList<QVariant> &values);
    void updateRow(const EntityDescription &entity, qint64 rowId, const QList<QVariant> &values);
    // Removes the row and every link that names it.
    void deleteRow(const EntityDescription &entity, qint64 rowId);

    QList<qint64> allRowIds(const EntityDescription &entity);
    QList<qint64> rowIdsWhere(const EntityDescription &entity, int attribute, const QVariant &value);
    qint64 countWhere(const EntityDescription &entity, int attribute, const QVariant &value);

    // The other side's rows, in the order the links were made.
    QList<qint64> linkedRowIds(const EntityDescription &entity, int relationship, qint64 rowId);
    qint64 linkCount(const EntityDescription &entity, int relationship, qint64 rowId);
    void insertLink(const EntityDescription &entity, int relationship, qint64 rowId, qint64 otherRowId);
    void deleteLink(const EntityDescription &entity, int relationship, qint64 rowId, qint64 otherRowId);

    static constexpr qint32 applicationId = 0x42725674;
    static const QString metadataTable;

private:
    struct EntityStatements;
    struct LinkStatements;

    void validateOrCreate(bool existingFile);
    void createTables();
    EntityStatements &statements(const EntityDescription &entity);
    LinkStatements &linkStatements(const EntityDescription &entity, int relationship);

    Schema m_schema;
    QString m_filePath;
    std::unique_ptr<SqliteDatabase> m_db;
    QHash<const EntityDescription *, std::shared_ptr<EntityStatements>> m_statements;
    QHash<QPair<const EntityDescription *, int>, std::shared_ptr<LinkStatements>> m_linkStatements;
};
