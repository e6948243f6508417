#include "RemovePaperAction.h"

#include "AppState.h"
#include "CrossFade.h"
#include "DataManager.h"
#include "ErrorHandler.h"
#include "Localized.h"
#include "ViewEnvironment.h"

RemovePaperAction::RemovePaperAction(ViewEnvironment &environment, PaperPtr paper, PaperListPtr list,
                                     QObject *parent)
    : PaperAction(environment, QString(), QStringLiteral("document.on.trash"), QString(), parent),
      m_paper(std::move(paper)), m_list(std::move(list))
{
    setDestructive(this);
    updateLabels();
    connect(m_list.get(), &PaperList::changed, this, [this](PaperList::Property property) {
        if (property == PaperList::Property::name)
            updateLabels();
    });
    connect(this, &QAction::triggered, this, &RemovePaperAction::run);
}

void RemovePaperAction::updateLabels()
{
    const QString name = m_list->name();
    setLabels(localized("Remove from %1").arg(name), localized("Remove this paper from %1").arg(name));
}

void RemovePaperAction::run()
{
    // Held here: the row and the menu holding this action may go during the removal.
    const PaperPtr paper = m_paper;
    AppState &appState = m_environment.appState;
    try {
        m_environment.dataManager.remove(paper.get(), m_list.get());
    } catch (const std::exception &error) {
        m_environment.errorHandler.showError(error);
        return;
    }
    if (const PaperPtr selected = appState.selectedPaper(); selected && selected->id() == paper->id()) {
        const CrossFade::AnimatedChanges animated;
        appState.setSelectedPaper(nullptr);
    }
}
