#include "UpdaterSettings.h"

#include "Log.h"

#include <QSettings>

namespace {

const QString automaticChecksKey = QStringLiteral("Updates/CheckAutomatically");
const QString lastCheckTimeKey = QStringLiteral("Updates/LastCheckTime");
const QString skippedVersionKey = QStringLiteral("Updates/SkippedVersion");

} // namespace

UpdaterSettings::UpdaterSettings(QString filePath) : m_filePath(std::move(filePath)) {}

std::optional<bool> UpdaterSettings::automaticChecks() const
{
    const QString value = QSettings(m_filePath, QSettings::IniFormat).value(automaticChecksKey).toString();
    if (value == u"true")
        return true;
    if (value == u"false")
        return false;
    return std::nullopt;
}

void UpdaterSettings::setAutomaticChecks(bool allowed)
{
    write(automaticChecksKey, allowed ? QStringLiteral("true") : QStringLiteral("false"));
}

QDateTime UpdaterSettings::lastCheckTime() const
{
    const QString value = QSettings(m_filePath, QSettings::IniFormat).value(lastCheckTimeKey).toString();
    return QDateTime::fromString(value, Qt::ISODateWithMs);
}

void UpdaterSettings::setLastCheckTime(const QDateTime &time)
{
    write(lastCheckTimeKey, time.toUTC().toString(Qt::ISODateWithMs));
}

QString UpdaterSettings::skippedVersion() const
{
    return QSettings(m_filePath, QSettings::IniFormat).value(skippedVersionKey).toString();
}

void UpdaterSettings::setSkippedVersion(const QString &version)
{
    write(skippedVersionKey, version);
}

void UpdaterSettings::write(const QString &key, const QString &value)
{
    QSettings settings(m_filePath, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    // Not fatal: the updater then behaves as on a first run next time.
    if (settings.status() != QSettings::NoError)
        brivetLog(u"Brivet: Could not save the update settings to %@", {m_filePath});
}
