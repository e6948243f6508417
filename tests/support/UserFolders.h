#pragma once

#include "EnvironmentVariable.h"

#include <QTemporaryDir>
#include <optional>

// Points the user's data, cache, configuration and cloud folders at a fresh
// temporary tree for the lifetime of a test, and puts everything back afterwards.
class UserFolders {
public:
    // withCloud: give the user a cloud identity whose container is <root>/cloud.
    explicit UserFolders(bool withCloud = false);
    UserFolders(const UserFolders &) = delete;
    UserFolders &operator=(const UserFolders &) = delete;

    QString root() const { return m_dir.path(); }
    QString cloudContainer() const { return m_dir.path() + "/cloud"; }
    QString appDocuments() const;
    QString temporary() const;
    QString settingsFile() const;

private:
    QTemporaryDir m_dir;
    EnvironmentVariable m_data, m_cache, m_config, m_cloud;
};
