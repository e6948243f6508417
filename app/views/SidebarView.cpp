#include "SidebarView.h"

#include "AppState.h"
#include "Localized.h"
#include "ModelQuery.h"
#include "PaperList.h"
#include "SearchEngines.h"
#include "Symbols.h"

#include <QListWidget>
#include <QVBoxLayout>

SidebarView::SidebarView(ViewEnvironment &env, QWidget *parent)
    : QWidget(parent), m_env(env), m_lists(new ModelQuery(env.modelContext, PaperList::entityDescription(), this)),
      m_rows(new QListWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rows);
    m_rows->setAccessibleName(localized("Sidebar"));
    connect(m_lists, &ModelQuery::changed, this, &SidebarView::rebuild);
    connect(m_rows, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        m_env.appState.setSelectedListId(QUuid(item->data(Qt::UserRole).toString()));
        m_env.appState.setSelectedPaper(nullptr);
    });
    rebuild();
}

void SidebarView::rebuild()
{
    const QSignalBlocker blocker(m_rows);
    m_rows->clear();
    for (const SearchEngine *engine : searchEngines()) {
        auto *row = new QListWidgetItem(symbolIcon(engine->icon()), localized("Search %1").arg(engine->name()), m_rows);
        row->setData(Qt::UserRole, engine->id().toString());
    }
    for (const PaperListPtr &list : m_lists->resultsAs<PaperList>()) {
        auto *row = new QListWidgetItem(symbolIcon(list->icon()), list->name(), m_rows);
        row->setData(Qt::UserRole, list->id().toString());
    }
}
