#pragma once

#include "Paper.h"
#include "PaperAction.h"

// "Delete PDF": deletes the paper's local PDF; enabled while a file is there.
class DeleteFileAction : public PaperAction {
    Q_OBJECT
public:
    DeleteFileAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent);
    void refresh() override;

private:
    void run();
    PaperPtr m_paper;
};
