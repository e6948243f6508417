#include "TakeNotesAction.h"

#include "AppState.h"
#include "Localized.h"
#include "ViewEnvironment.h"

TakeNotesAction::TakeNotesAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent)
    : PaperAction(environment, localized("Take Notes"), QStringLiteral("pencil.and.scribble"),
                  localized("Take notes on this paper"), parent),
      m_paper(std::move(paper))
{
    connect(this, &QAction::triggered, this, [this] {
        AppState &appState = m_environment.appState;
        // The paper first: the editor opens as soon as the flag is set, and must
        // open on this paper.
        if (m_paper)
            appState.setSelectedPaper(m_paper);
        appState.setShowEditor(true);
    });
}
