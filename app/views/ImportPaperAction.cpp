#include "ImportPaperAction.h"

#include "AppState.h"
#include "Localized.h"
#include "ViewEnvironment.h"

ImportPaperAction::ImportPaperAction(ViewEnvironment &environment, QObject *parent)
    : PaperAction(environment, localized("Import paper"), QStringLiteral("document.badge.plus"),
                  localized("Import a paper manually"), parent)
{
    connect(this, &QAction::triggered, this, [this] { m_environment.appState.setShowImporter(true); });
}
