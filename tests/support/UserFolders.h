#pragma once

#include "EnvironmentVariable.h"

#include <QTemporaryDir>

// Points the user's data, cache and cloud folders at a fresh temporary tree for the
// lifetime of a test, and puts everything back afterwards.
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

private:
    QTemporaryDir m_dir;
    EnvironmentVariable m_data;
    EnvironmentVariable m_cache;
    EnvironmentVariable m_cloud;
};
