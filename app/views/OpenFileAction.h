#pragma once

#include "Paper.h"
#include "PaperAction.h"

// "Open PDF": opens the paper's PDF in the user's viewer, downloading it first
// when it is not on disk; enabled while the paper has a PDF to show. While the
// download runs the window stays responsive and shows a busy cursor.
class OpenFileAction : public PaperAction {
    Q_OBJECT
public:
    OpenFileAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent);
    void refresh() override;

private:
    PaperPtr m_paper;
};
