#pragma once

#include "Workspace.h"

#include <QList>

// Records what would have been opened, so no test ever starts a real program.
class RecordingWorkspace final : public Workspace {
public:
    bool open(const QUrl &url) override
    {
        opened << url;
        return true;
    }
    QList<QUrl> opened;
};
