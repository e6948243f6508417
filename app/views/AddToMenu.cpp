#include "AddToMenu.h"

#include "DataManager.h"
#include "Localized.h"
#include "ModelQuery.h"
#include "PaperList.h"
#include "Symbols.h"
#include "ViewEnvironment.h"

AddToMenu::AddToMenu(ViewEnvironment &environment, PaperPtr paper, QWidget *parent)
    : QMenu(localized("Add To"), parent), m_environment(environment), m_paper(std::move(paper)),
      m_lists(new ModelQuery(environment.modelContext, PaperList::entityDescription(), this))
{
    setIcon(symbolIcon(QStringLiteral("plus.rectangle.on.folder")));
    menuAction()->setToolTip(localized("Add this paper to a list"));
    menuAction()->setStatusTip(menuAction()->toolTip());
    setToolTipsVisible(true);
    // Names and icons are read when the menu opens, so a rename shows at once.
    connect(this, &QMenu::aboutToShow, this, &AddToMenu::rebuild);
    connect(m_lists, &ModelQuery::changed, this, [this] { menuAction()->setVisible(!m_lists->results().isEmpty()); });
    menuAction()->setVisible(!m_lists->results().isEmpty());
    rebuild();
}

void AddToMenu::rebuild()
{
    clear();
    for (const PaperListPtr &list : m_lists->resultsAs<PaperList>()) {
        // A list's name is shown as it is: never looked up, no mnemonic.
        QAction *item = addAction(symbolIcon(list->icon()), QString(list->name()).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(item, &QAction::triggered, this, [this, list] { m_environment.dataManager.add(m_paper, list.get()); });
    }
}
