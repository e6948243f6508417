#pragma once

#include "SqliteStatement.h"

#include <QString>

struct sqlite3;

// An open SQLite connection, closed when the object goes away.
class SqliteDatabase {
public:
    enum class Mode { readWrite, readWriteCreate };

    // Throws BrivetError when SQLite refuses the file.
    SqliteDatabase(const QString &path, Mode mode);
    SqliteDatabase(const SqliteDatabase &) = delete;
    SqliteDatabase &operator=(const SqliteDatabase &) = delete;
    ~SqliteDatabase();

    sqlite3 *handle() const { return m_db; }

    // Runs one or more statements that need no bindings.
    void exec(const QString &sql);
    SqliteStatement prepare(const QString &sql, bool persistent = false);
    // The first column of the first row, as text (a null QVariant when there is no row or it is NULL).
    QVariant scalar(const QString &sql);

    qint64 lastInsertRowId() const;
    // SQLite's primary result code of the last failure, to tell kinds of damage apart.
    int lastErrorCode() const;

private:
    sqlite3 *m_db = nullptr;
};
