#include "SqliteDatabase.h"

#include "BrivetError.h"

#include <sqlite3.h>

SqliteDatabase::SqliteDatabase(const QString &path, Mode mode)
{
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::readWriteCreate)
        flags |= SQLITE_OPEN_CREATE;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                     : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw BrivetError(QStringLiteral("The library at %1 could not be opened (%2).").arg(path, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    // Identifiers are double-quoted; a missing column must be an error, never
    // silently read as a string literal.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // A second connection (a test, a benchmark) may briefly hold the write lock.
    sqlite3_busy_timeout(m_db, 2000);
}

SqliteDatabase::~SqliteDatabase()
{
    sqlite3_close_v2(m_db);
}

void SqliteDatabase::exec(const QString &sql)
{
    char *error = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = error ? QString::fromUtf8(error) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_free(error);
        throw BrivetError(QStringLiteral("The library could not be read or written (%1).").arg(message));
    }
}

SqliteStatement SqliteDatabase::prepare(const QString &sql, bool persistent)
{
    return SqliteStatement(m_db, sql, persistent);
}

QVariant SqliteDatabase::scalar(const QString &sql)
{
    SqliteStatement statement = prepare(sql);
    if (!statement.step())
        return {};
    if (statement.isNull(0))
        return {};
    return statement.text(0);
}

qint64 SqliteDatabase::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

int SqliteDatabase::lastErrorCode() const
{
    return sqlite3_errcode(m_db) & 0xff;
}
