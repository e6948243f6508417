#pragma once

#include <QUrl>
#include <memory>

// Opens web pages and files with the user's default applications. The application
// installs the system's workspace; tests install one that records instead of starting programs.
class Workspace {
public:
    virtual ~Workspace() = default;
    // Returns whether the request was handed on; callers ignore it, as nothing is reported.
    virtual bool open(const QUrl &url) = 0;

    static Workspace &shared();
    static void setShared(std::shared_ptr<Workspace> workspace);
};
