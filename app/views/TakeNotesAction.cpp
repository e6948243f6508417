#include "TakeNotesAction.h"

#include "AppState.h"
#include "AppView.h"
#include "Localized.h"
#include "ViewEnvironment.h"

TakeNotesAction::TakeNotesAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent)
    : PaperAction(environment, localized("Take Notes"), QStringLiteral("pencil.and.scribble"),
                  localized("Take notes on this paper"), parent),
      m_paper(std::move(paper))
{
    connect(this, &QAction::triggered, this, [this] {
        AppState &appState = m_environment.appState;
        if (m_paper)
            appState.setSelectedPaper(m_paper);
        // The editor opens in the window the action was chosen in (its context menu or tool
        // bar belongs to that window's view).
        for (QObject *owner = this->parent(); owner; owner = owner->parent()) {
            if (auto *view = qobject_cast<AppView *>(owner)) {
                view->takeNotes(appState.selectedPaper());
                return;
            }
        }
        // Outside a window, the flag alone: the paper first, so an editor that the flag opens
        // opens on it.
        appState.setShowEditor(true);
    });
}
