#include "Workspace.h"

#include "SystemWorkspace.h"

namespace {
std::shared_ptr<Workspace> &sharedSlot()
{
    static std::shared_ptr<Workspace> workspace = std::make_shared<SystemWorkspace>();
    return workspace;
}
}

Workspace &Workspace::shared()
{
    return *sharedSlot();
}

void Workspace::setShared(std::shared_ptr<Workspace> workspace)
{
    sharedSlot() = workspace ? std::move(workspace) : std::make_shared<SystemWorkspace>();
}
