#include "ModelConfiguration.h"

#include <QDir>
#include <QStandardPaths>

ModelConfiguration::ModelConfiguration(QString name, QString folder, bool allowsSave)
    : m_name(std::move(name)), m_folder(std::move(folder)), m_allowsSave(allowsSave)
{
}

QString ModelConfiguration::folder() const
{
    if (!m_folder.isEmpty())
        return m_folder;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString ModelConfiguration::filePath() const
{
    return QDir(folder()).filePath(m_name + QStringLiteral(".sqlite"));
}
