#include "DeleteFileAction.h"

#include "AppState.h"
#include "DataManager.h"
#include "ErrorHandler.h"
#include "Localized.h"
#include "ViewEnvironment.h"

DeleteFileAction::DeleteFileAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent)
    : PaperAction(environment, localized("Delete PDF"), QStringLiteral("trash"),
                  localized("Delete this paper's PDF file"), parent),
      m_paper(std::move(paper))
{
    setDestructive(this);
    connect(&environment.appState, &AppState::refreshViewChanged, this, &DeleteFileAction::refresh);
    // The location follows the paper's id and lists.
    connect(m_paper.get(), &Paper::changed, this, &DeleteFileAction::refresh);
    connect(this, &QAction::triggered, this, &DeleteFileAction::run);
    refresh();
}

void DeleteFileAction::refresh()
{
    setEnabled(DataManager::fileExists(m_paper->localURL()));
}

void DeleteFileAction::run()
{
    try {
        m_paper->removePDF();
    } catch (const std::exception &error) {
        m_environment.errorHandler.showError(error);
        refresh();   // whatever is on disk now
        return;
    }
    AppState &appState = m_environment.appState;
    appState.setRefreshView(!appState.refreshView());
}
