#include "TemporaryDataFolder.h"

#include <QFile>

#include <stdexcept>

TemporaryDataFolder::TemporaryDataFolder()
{
    if (!m_dir.isValid())
        throw std::runtime_error("could not create a temporary folder");
}

QByteArray TemporaryDataFolder::readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TemporaryDataFolder::write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("could not write a test file");
}
