#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// One prepared SQLite statement, finalized when the object goes away.
// Binding indices are 1-based as in SQLite; column indices are 0-based.
// Failures throw BrivetError carrying SQLite's message, so a caller cannot
// mistake a failed step for an empty result.
class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3 *db, const QString &sql, bool persistent = false);
    SqliteStatement(SqliteStatement &&other) noexcept;
    SqliteStatement &operator=(SqliteStatement &&other) noexcept;
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;
    ~SqliteStatement();

    bool isValid() const { return m_stmt != nullptr; }

    void bindNull(int index);
    void bind(int index, qint64 value);
    void bind(int index, double value);
    // Bound as UTF-16 so Qt strings reach SQLite without a conversion copy.
    void bind(int index, const QString &value);

    // Advances to the next row; false when the statement has finished.
    bool step();
    // Runs a statement that yields no rows (or whose rows are not needed).
    void run();
    // Makes the statement ready for a new run; bindings are cleared too.
    void reset();

    bool isNull(int column) const;
    qint64 int64(int column) const;
    QString text(int column) const;

private:
    [[noreturn]] void fail(int code) const;

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
};
