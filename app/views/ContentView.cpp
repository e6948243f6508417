#include "ContentView.h"

#include "AppState.h"
#include "Localized.h"
#include "PlaceholderView.h"
#include "SearchEngines.h"

#include <QListWidget>
#include <QStackedLayout>

ContentView::ContentView(ViewEnvironment &env, QWidget *parent)
    : QWidget(parent), m_env(env), m_stack(new QStackedLayout(this)),
      m_placeholder(new PlaceholderView(QStringLiteral("doc.text.magnifyingglass"), QStringLiteral("Welcome to Brivet"),
                                        QStringLiteral("Select a search engine or a list from the sidebar, or create a "
                                                       "new list to get started"),
                                        this)),
      m_papers(new QListWidget(this))
{
    m_stack->addWidget(m_placeholder);
    m_stack->addWidget(m_papers);
    m_papers->setAccessibleName(localized("Papers"));
    connect(&env.appState, &AppState::selectedListIdChanged, this, &ContentView::update);
    connect(&env.appState, &AppState::newResultsChanged, this, &ContentView::update);
    connect(m_papers, &QListWidget::currentRowChanged, this, [this](int row) {
        const auto id = m_env.appState.selectedListId();
        for (const SearchEngine *engine : searchEngines()) {
            if (id && engine->id() == *id && engine->papers() && row >= 0 && row < engine->papers()->size())
                m_env.appState.setSelectedPaper(engine->papers()->at(row));
        }
    });
    update();
}

void ContentView::update()
{
    const auto id = m_env.appState.selectedListId();
    for (const SearchEngine *engine : searchEngines()) {
        if (!id || engine->id() != *id || !engine->papers())
            continue;
        const QSignalBlocker blocker(m_papers);
        m_papers->clear();
        for (const PaperPtr &paper : *engine->papers())
            m_papers->addItem(paper->title());
        m_stack->setCurrentWidget(m_papers);
        return;
    }
    m_stack->setCurrentWidget(m_placeholder);
}
