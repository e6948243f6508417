#pragma once

#include "Paper.h"
#include "PaperAction.h"

// "Open in Browser": opens the paper's web page; always enabled.
class OpenBrowserAction : public PaperAction {
    Q_OBJECT
public:
    OpenBrowserAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent);

private:
    PaperPtr m_paper;
};
