#include "SqliteModelStore.h"

#include "BrivetError.h"
#include "StoreFileCheck.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

#include <map>

const QString SqliteModelStore::metadataTable = QStringLiteral("BrivetStoreMetadata");

namespace {

using Type = EntityDescription::Type;

QString quoted(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QList<int> attributeIndexes(const EntityDescription &entity)
{
    QList<int> indexes;
    for (int i = 0; i < entity.propertyCount(); ++i) {
        if (!entity.isRelationship(i))
            indexes.append(i);
    }
    return indexes;
}

void bindValue(SqliteStatement &statement, int index, Type type, const QVariant &value)
{
    if (!value.isValid()) {
        statement.bindNull(index);
        return;
    }
    switch (type) {
    case Type::text:
        statement.bind(index, value.toString());
        break;
    case Type::textList:
        statement.bind(index, QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(value.toStringList()))
                                                    .toJson(QJsonDocument::Compact)));
        break;
    case Type::date:
        statement.bind(index, value.toDateTime().toMSecsSinceEpoch());
        break;
    case Type::url:
        statement.bind(index, QString::fromUtf8(value.toUrl().toEncoded()));
        break;
    case Type::uuid:
        statement.bind(index, value.toUuid().toString(QUuid::WithoutBraces));
        break;
    }
}

QVariant readValue(const SqliteStatement &statement, int column, Type type)
{
    if (statement.isNull(column))
        return {};
    switch (type) {
    case Type::text:
        return statement.text(column);
    case Type::textList: {
        QStringList list;
        const QJsonArray array = QJsonDocument::fromJson(statement.text(column).toUtf8()).array();
        list.reserve(array.size());
        for (const QJsonValue &item : array)
            list.append(item.toString());
        return list;
    }
    case Type::date:
        return QDateTime::fromMSecsSinceEpoch(statement.int64(column), QTimeZone::utc());
    case Type::url:
        return QUrl::fromEncoded(statement.text(column).toUtf8());
    case Type::uuid:
        return QUuid::fromString(statement.text(column));
    }
    return {};
}

QString sqlType(Type type)
{
    return type == Type::date ? QStringLiteral("INTEGER") : QStringLiteral("TEXT");
}

} // namespace

struct SqliteModelStore::EntityStatements {
    QList<int> attributes;
    SqliteStatement select, insert, update, remove, all;
    std::map<int, SqliteStatement> countWhere, rowsWhere;
};

struct SqliteModelStore::LinkStatements {
    SqliteStatement load, count, insert, remove, removeAll;
};

SqliteModelStore::SqliteModelStore(const Schema &schema, const QString &folder, const QString &filePath)
    : m_schema(schema), m_filePath(filePath)
{
    const bool existing = StoreFileCheck::inspect(folder, filePath) == StoreFileCheck::Outcome::existingFile;
    m_db = std::make_unique<SqliteDatabase>(filePath, existing ? SqliteDatabase::Mode::readWrite
                                                              : SqliteDatabase::Mode::readWriteCreate);
    validateOrCreate(existing);
}

SqliteModelStore::~SqliteModelStore()
{
    // Statements must be finalized before the connection closes.
    m_statements.clear();
    m_linkStatements.clear();
}

void SqliteModelStore::validateOrCreate(bool existingFile)
{
    QStringList tables;
    qint64 fileApplicationId = 0;
    try {
        SqliteStatement list = m_db->prepare(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"));
        while (list.step())
            tables.append(list.text(0));
        SqliteStatement id = m_db->prepare(QStringLiteral("PRAGMA application_id"));
        if (id.step())
            fileApplicationId = id.int64(0);
    } catch (const BrivetError &error) {
        const int code = m_db->lastErrorCode();
        if (code == SQLITE_NOTADB)
            throw BrivetError(QStringLiteral("The file %1 is not a Brivet library: it is not a database.").arg(m_filePath));
        if (code == SQLITE_CORRUPT)
            throw BrivetError(QStringLiteral("The library file %1 is damaged.").arg(m_filePath));
        throw BrivetError(QStringLiteral("The library file %1 cannot be read: %2").arg(m_filePath, error.description()));
    }

    if (tables.isEmpty() && (fileApplicationId == 0 || fileApplicationId == applicationId)) {
        // A new file, or one whose first launch stopped before its tables were made.
        createTables();
        return;
    }
    if (!tables.contains(metadataTable) || fileApplicationId != applicationId) {
        throw BrivetError(QStringLiteral("The file %1 is not a Brivet library: it holds other data.").arg(m_filePath));
    }
    const QString version = m_db->scalar(QStringLiteral("SELECT value FROM %1 WHERE key = 'version'")
                                             .arg(quoted(metadataTable)))
                                .toString();
    if (Schema::compareVersions(version, m_schema.version()) > 0) {
        throw BrivetError(QStringLiteral("The library %1 was written by a newer version of Brivet (library version %2, "
                                         "this version reads %3 and older). Update Brivet to open it.")
                              .arg(m_filePath, version, m_schema.version()));
    }
    for (const EntityDescription *entity : m_schema.entities()) {
        if (!tables.contains(entity->name()))
            throw BrivetError(QStringLiteral("The library file %1 is damaged: the table %2 is missing.")
                                  .arg(m_filePath, entity->name()));
    }
    Q_UNUSED(existingFile);
    m_db->exec(QStringLiteral("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"));
}

void SqliteModelStore::createTables()
{
    // WAL first: it cannot be switched on inside a transaction.
    m_db->exec(QStringLiteral("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"));
    QStringList ddl;
    QStringList linkTables;
    for (const EntityDescription *entity : m_schema.entities()) {
        QStringList columns{QStringLiteral("pk INTEGER PRIMARY KEY")};
        for (int i = 0; i < entity->propertyCount(); ++i) {
            const EntityDescription::Property &p = entity->property(i);
            if (p.kind == EntityDescription::Kind::relationship) {
                const EntityDescription::LinkTable link = entity->linkTable(i);
                if (!linkTables.contains(link.table))
                    linkTables.append(link.table);
                continue;
            }
            columns.append(quoted(p.name) + QLatin1Char(' ') + sqlType(p.type));
            if (p.indexed) {
                ddl.append(QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                               .arg(quoted(entity->name() + QLatin1Char('_') + p.name), quoted(entity->name()),
                                    quoted(p.name)));
            }
        }
        ddl.prepend(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(entity->name()), columns.join(QStringLiteral(", "))));
    }
    for (const QString &table : linkTables) {
        ddl.append(QStringLiteral("CREATE TABLE %1 (seq INTEGER PRIMARY KEY AUTOINCREMENT, "
                                  "source INTEGER NOT NULL, target INTEGER NOT NULL)")
                       .arg(quoted(table)));
        ddl.append(QStringLiteral("CREATE INDEX %1 ON %2(source, seq, target)").arg(quoted(table + QStringLiteral("_source")), quoted(table)));
        ddl.append(QStringLiteral("CREATE INDEX %1 ON %2(target, seq, source)").arg(quoted(table + QStringLiteral("_target")), quoted(table)));
    }
    ddl.append(QStringLiteral("CREATE TABLE %1 (key TEXT PRIMARY KEY, value TEXT NOT NULL)").arg(quoted(metadataTable)));
    ddl.append(QStringLiteral("INSERT INTO %1 (key, value) VALUES ('version', '%2')")
                   .arg(quoted(metadataTable), QString(m_schema.version()).replace(QLatin1Char('\''), QStringLiteral("''"))));
    ddl.append(QStringLiteral("PRAGMA application_id = %1").arg(applicationId));

    begin();
    try {
        for (const QString &statement : ddl)
            m_db->exec(statement);
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

void SqliteModelStore::begin()
{
    m_db->exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void SqliteModelStore::commit()
{
    m_db->exec(QStringLiteral("COMMIT"));
}

void SqliteModelStore::rollback() noexcept
{
    sqlite3_exec(m_db->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

SqliteModelStore::EntityStatements &SqliteModelStore::statements(const EntityDescription &entity)
{
    auto found = m_statements.find(&entity);
    if (found != m_statements.end())
        return **found;
    auto s = std::make_shared<EntityStatements>();
    s->attributes = attributeIndexes(entity);
    QStringList names, placeholders, assignments;
    for (int i = 0; i < s->attributes.size(); ++i) {
        const QString name = quoted(entity.property(s->attributes[i]).name);
        names.append(name);
        placeholders.append(QStringLiteral("?%1").arg(i + 1));
        assignments.append(QStringLiteral("%1 = ?%2").arg(name).arg(i + 1));
    }
    const QString table = quoted(entity.name());
    const int keyIndex = int(s->attributes.size()) + 1;
    s->select = m_db->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE pk = ?1").arg(names.join(QStringLiteral(", ")), table), true);
    s->insert = m_db->prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(table, names.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))),
                              true);
    s->update = m_db->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE pk = ?%3")
                                  .arg(table, assignments.join(QStringLiteral(", ")))
                                  .arg(keyIndex),
                              true);
    s->remove = m_db->prepare(QStringLiteral("DELETE FROM %1 WHERE pk = ?1").arg(table), true);
    s->all = m_db->prepare(QStringLiteral("SELECT pk FROM %1 ORDER BY pk").arg(table), true);
    m_statements.insert(&entity, s);
    return *s;
}

SqliteModelStore::LinkStatements &SqliteModelStore::linkStatements(const EntityDescription &entity, int relationship)
{
    const auto key = qMakePair(&entity, relationship);
    auto found = m_linkStatements.find(key);
    if (found != m_linkStatements.end())
        return **found;
    const EntityDescription::LinkTable link = entity.linkTable(relationship);
    const QString table = quoted(link.table);
    auto s = std::make_shared<LinkStatements>();
    s->load = m_db->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1 ORDER BY seq")
                                .arg(link.otherColumn, table, link.ownColumn), true);
    s->count = m_db->prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?1").arg(table, link.ownColumn), true);
    s->insert = m_db->prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?1, ?2)")
                                  .arg(table, link.ownColumn, link.otherColumn), true);
    s->remove = m_db->prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?1 AND %3 = ?2")
                                  .arg(table, link.ownColumn, link.otherColumn), true);
    s->removeAll = m_db->prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?1").arg(table, link.ownColumn), true);
    m_linkStatements.insert(key, s);
    return *s;
}

std::optional<QList<QVariant>> SqliteModelStore::loadValues(const EntityDescription &entity, qint64 rowId)
{
    EntityStatements &s = statements(entity);
    s.select.bind(1, rowId);
    if (!s.select.step()) {
        s.select.reset();
        return std::nullopt;
    }
    QList<QVariant> values(entity.propertyCount());
    for (int column = 0; column < s.attributes.size(); ++column) {
        const int property = s.attributes[column];
        values[property] = readValue(s.select, column, entity.property(property).type);
    }
    s.select.reset();
    return values;
}

qint64 SqliteModelStore::insertRow(const EntityDescription &entity, const QList<QVariant> &values)
{
    EntityStatements &s = statements(entity);
    for (int column = 0; column < s.attributes.size(); ++column) {
        const int property = s.attributes[column];
        bindValue(s.insert, column + 1, entity.property(property).type, values.value(property));
    }
    s.insert.run();
    return m_db->lastInsertRowId();
}

void SqliteModelStore::updateRow(const EntityDescription &entity, qint64 rowId, const QList<QVariant> &values)
{
    EntityStatements &s = statements(entity);
    for (int column = 0; column < s.attributes.size(); ++column) {
        const int property = s.attributes[column];
        bindValue(s.update, column + 1, entity.property(property).type, values.value(property));
    }
    s.update.bind(int(s.attributes.size()) + 1, rowId);
    s.update.run();
}

void SqliteModelStore::deleteRow(const EntityDescription &entity, qint64 rowId)
{
    EntityStatements &s = statements(entity);
    s.remove.bind(1, rowId);
    s.remove.run();
    for (int i = 0; i < entity.propertyCount(); ++i) {
        if (!entity.isRelationship(i))
            continue;
        LinkStatements &link = linkStatements(entity, i);
        link.removeAll.bind(1, rowId);
        link.removeAll.run();
    }
}

QList<qint64> SqliteModelStore::allRowIds(const EntityDescription &entity)
{
    EntityStatements &s = statements(entity);
    QList<qint64> rows;
    while (s.all.step())
        rows.append(s.all.int64(0));
    s.all.reset();
    return rows;
}

QList<qint64> SqliteModelStore::rowIdsWhere(const EntityDescription &entity, int attribute, const QVariant &value)
{
    EntityStatements &s = statements(entity);
    auto found = s.rowsWhere.find(attribute);
    if (found == s.rowsWhere.end()) {
        found = s.rowsWhere.emplace(attribute, m_db->prepare(QStringLiteral("SELECT pk FROM %1 WHERE %2 = ?1 ORDER BY pk")
                                                               .arg(quoted(entity.name()), quoted(entity.property(attribute).name)),
                                                           true)).first;
    }
    bindValue(found->second, 1, entity.property(attribute).type, value);
    QList<qint64> rows;
    SqliteStatement &statement = found->second;
    while (statement.step())
        rows.append(statement.int64(0));
    statement.reset();
    return rows;
}

qint64 SqliteModelStore::countWhere(const EntityDescription &entity, int attribute, const QVariant &value)
{
    EntityStatements &s = statements(entity);
    auto found = s.countWhere.find(attribute);
    if (found == s.countWhere.end()) {
        found = s.countWhere.emplace(attribute, m_db->prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?1")
                                                                 .arg(quoted(entity.name()), quoted(entity.property(attribute).name)),
                                                             true)).first;
    }
    bindValue(found->second, 1, entity.property(attribute).type, value);
    SqliteStatement &statement = found->second;
    const qint64 count = statement.step() ? statement.int64(0) : 0;
    statement.reset();
    return count;
}

QList<qint64> SqliteModelStore::linkedRowIds(const EntityDescription &entity, int relationship, qint64 rowId)
{
    LinkStatements &s = linkStatements(entity, relationship);
    s.load.bind(1, rowId);
    QList<qint64> rows;
    while (s.load.step())
        rows.append(s.load.int64(0));
    s.load.reset();
    return rows;
}

qint64 SqliteModelStore::linkCount(const EntityDescription &entity, int relationship, qint64 rowId)
{
    LinkStatements &s = linkStatements(entity, relationship);
    s.count.bind(1, rowId);
    const qint64 count = s.count.step() ? s.count.int64(0) : 0;
    s.count.reset();
    return count;
}

void SqliteModelStore::insertLink(const EntityDescription &entity, int relationship, qint64 rowId, qint64 otherRowId)
{
    LinkStatements &s = linkStatements(entity, relationship);
    s.insert.bind(1, rowId);
    s.insert.bind(2, otherRowId);
    s.insert.run();
}

void SqliteModelStore::deleteLink(const EntityDescription &entity, int relationship, qint64 rowId, qint64 otherRowId)
{
    LinkStatements &s = linkStatements(entity, relationship);
    s.remove.bind(1, rowId);
    s.remove.bind(2, otherRowId);
    s.remove.run();
}
