#pragma once

#include "Paper.h"
#include "PaperAction.h"

// "Take Notes": opens the note editor in the action's window, for the given paper (which
// becomes the selected one) or, without one, for the selected paper; when that paper is
// being edited already, its editor comes to the front instead.
class TakeNotesAction : public PaperAction {
    Q_OBJECT
public:
    TakeNotesAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent);

private:
    PaperPtr m_paper;
};
