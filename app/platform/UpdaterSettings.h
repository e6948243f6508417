#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// What the updater remembers between runs, in Brivet's settings file: whether
// the user allows automatic checks, when the last check ran and which
// version the user chose to skip. Each call reads or writes the file, so
// several objects (and processes) see one state.
class UpdaterSettings {
public:
    explicit UpdaterSettings(QString filePath);

    const QString &filePath() const { return m_filePath; }

    // Nothing until the user has answered the question. A damaged entry
    // counts as unanswered, never as a yes.
    std::optional<bool> automaticChecks() const;
    void setAutomaticChecks(bool allowed);

    // Invalid when no check has run (or the entry is damaged).
    QDateTime lastCheckTime() const;
    void setLastCheckTime(const QDateTime &time);

    // Empty when none is skipped.
    QString skippedVersion() const;
    void setSkippedVersion(const QString &version);

private:
    void write(const QString &key, const QString &value);

    QString m_filePath;
};
