#pragma once

#include "Workspace.h"

// The desktop's opener (xdg-open), started detached so that Brivet never waits for it.
class SystemWorkspace final : public Workspace {
public:
    bool open(const QUrl &url) override;
};
