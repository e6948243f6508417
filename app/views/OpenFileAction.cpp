#include "OpenFileAction.h"

#include "AppState.h"
#include "ErrorHandler.h"
#include "Localized.h"
#include "ViewEnvironment.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>

namespace {

// Outlives the action (a context menu goes as soon as it is used); holds the
// paper, and no longer reports to a window that has closed meanwhile.
QCoro::Task<void> openPDF(PaperPtr paper, AppState *appState, QPointer<ErrorHandler> errorHandler)
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    try {
        co_await paper->openPDF();
    } catch (const std::exception &error) {
        if (errorHandler)
            errorHandler->showError(error);
        co_return;
    }
    appState->setRefreshView(!appState->refreshView());
}

} // namespace

OpenFileAction::OpenFileAction(ViewEnvironment &environment, PaperPtr paper, QObject *parent)
    : PaperAction(environment, localized("Open PDF"), QStringLiteral("doc.text"),
                  localized("Open this paper in your PDF viewer"), parent),
      m_paper(std::move(paper))
{
    connect(&environment.appState, &AppState::refreshViewChanged, this, &OpenFileAction::refresh);
    connect(m_paper.get(), &Paper::changed, this, &OpenFileAction::refresh);
    connect(this, &QAction::triggered, this, [this] {
        openPDF(m_paper, &m_environment.appState, &m_environment.errorHandler);
    });
    refresh();
}

void OpenFileAction::refresh()
{
    setEnabled(m_paper->hasPDF());
}
