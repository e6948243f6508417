#pragma once

#include "Paper.h"
#include "PaperAction.h"
#include "PaperList.h"

// "Remove from <list>": takes the paper out of the list (deleting it and its
// PDF when no list holds it any more) and clears the selection when it showed
// this paper. The label follows the list's name as it is typed.
class RemovePaperAction : public PaperAction {
    Q_OBJECT
public:
    RemovePaperAction(ViewEnvironment &environment, PaperPtr paper, PaperListPtr list, QObject *parent);

private:
    void updateLabels();
    void run();
    PaperPtr m_paper;
    PaperListPtr m_list;
};
