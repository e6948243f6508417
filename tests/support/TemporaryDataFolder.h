#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh folder for one test's files, removed with everything in it afterwards.
class TemporaryDataFolder {
public:
    TemporaryDataFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Whole-file helpers for tests that check a file was left untouched.
    static QByteArray readAll(const QString &path);
    static void write(const QString &path, const QByteArray &bytes);

private:
    QTemporaryDir m_dir;
};
