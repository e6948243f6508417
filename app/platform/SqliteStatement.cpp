#include "SqliteStatement.h"

#include "BrivetError.h"

#include <sqlite3.h>
#include <utility>

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &sql, bool persistent)
    : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()),
                                      persistent ? SQLITE_PREPARE_PERSISTENT : 0, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw BrivetError(QStringLiteral("The library could not be read (%1).").arg(message));
    }
}

SqliteStatement::SqliteStatement(SqliteStatement &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_stmt(std::exchange(other.m_stmt, nullptr))
{
}

SqliteStatement &SqliteStatement::operator=(SqliteStatement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_db = std::exchange(other.m_db, nullptr);
        m_stmt = std::exchange(other.m_stmt, nullptr);
    }
    return *this;
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_stmt);
}

void SqliteStatement::fail(int code) const
{
    QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (message.isEmpty())
        message = QString::fromUtf8(sqlite3_errstr(code));
    throw BrivetError(QStringLiteral("The library could not be read or written (%1).").arg(message));
}

void SqliteStatement::bindNull(int index)
{
    if (int rc = sqlite3_bind_null(m_stmt, index); rc != SQLITE_OK)
        fail(rc);
}

void SqliteStatement::bind(int index, qint64 value)
{
    if (int rc = sqlite3_bind_int64(m_stmt, index, value); rc != SQLITE_OK)
        fail(rc);
}

void SqliteStatement::bind(int index, double value)
{
    if (int rc = sqlite3_bind_double(m_stmt, index, value); rc != SQLITE_OK)
        fail(rc);
}

void SqliteStatement::bind(int index, const QString &value)
{
    // SQLITE_TRANSIENT: the QString may be a temporary that dies before the step.
    const int rc = sqlite3_bind_text16(m_stmt, index, value.utf16(), int(value.size() * 2),
                                       SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(rc);
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    fail(rc);
}

void SqliteStatement::run()
{
    while (step()) {
    }
    reset();
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

qint64 SqliteStatement::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString SqliteStatement::text(int column) const
{
    const void *data = sqlite3_column_text16(m_stmt, column);
    const int bytes = sqlite3_column_bytes16(m_stmt, column);
    return data ? QString(reinterpret_cast<const QChar *>(data), bytes / 2) : QString();
}
