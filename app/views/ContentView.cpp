#include "ContentView.h"

#include "AppState.h"
#include "CrossFade.h"
#include "DestructiveStyle.h"
#include "Localized.h"
#include "ModelQuery.h"
#include "PaperActions.h"
#include "PaperImporterView.h"
#include "PaperListModel.h"
#include "PaperListView.h"
#include "PlaceholderView.h"
#include "SearchEngines.h"
#include "ViewEnvironment.h"

#include <QDialog>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

ContentView::ContentView(ViewEnvironment &environment, QWidget *parent)
    : QWidget(parent), m_environment(environment),
      m_lists(new ModelQuery(environment.modelContext, PaperList::entityDescription(), this)),
      m_toolBar(new QToolBar(this)), m_stack(new QStackedWidget(this)),
      m_placeholder(new PlaceholderView(QString(), QString(), QString(), m_stack)),
      m_listView(new PaperListView(environment, m_stack)), m_blank(new QWidget(m_stack))
{
    setAccessibleName(localized("Content"));
    m_toolBar->setAccessibleName(localized("Content"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(16, 16));
    m_stack->addWidget(m_placeholder);
    m_stack->addWidget(m_listView);
    m_stack->addWidget(m_blank);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_stack);

    AppState &appState = environment.appState;
    connect(&appState, &AppState::selectedListIdChanged, this, &ContentView::fadeToSelection);
    connect(&appState, &AppState::newResultsChanged, this, &ContentView::showSelection);
    connect(&appState, &AppState::selectedPaperChanged, this, &ContentView::updateToolBar);
    connect(&appState, &AppState::showImporterChanged, this, &ContentView::updateImporter);
    // A list that appears or goes may be the selected one.
    connect(m_lists, &ModelQuery::inserted, this, &ContentView::showSelection);
    connect(m_lists, &ModelQuery::removed, this, &ContentView::showSelection);
    connect(m_lists, &ModelQuery::resultChanged, this, [this](qsizetype position, int property) {
        if (!m_shownList || m_lists->results().at(position) != m_shownList)
            return;
        if (property == int(PaperList::Property::name) || property == int(PaperList::Property::papers))
            showSelection();
    });
    showSelection();
}

ContentView::~ContentView()
{
    // The view lets go of the model before the model goes.
    m_listView->setPaperModel(nullptr);
}

void ContentView::fadeToSelection()
{
    // Another source: the column fades over to it. Within one source (new results, a rename, a
    // paper more or less) it changes at once.
    const CrossFade fade(this);
    showSelection();
}

void ContentView::showSelection()
{
    const std::optional<QUuid> id = m_environment.appState.selectedListId();
    if (!id) {
        setModel(nullptr);
        showPlaceholder(Shown::welcome, QStringLiteral("doc.text.magnifyingglass"), QStringLiteral("Welcome to Brivet"),
                        QStringLiteral("Select a search engine or a list from the sidebar, or create a new list to "
                                       "get started"));
        setTitle(localized("Brivet"));
    } else if (SearchEngine *engine = [&]() -> SearchEngine * {
                   for (SearchEngine *candidate : searchEngines()) {
                       if (candidate->id() == *id)
                           return candidate;
                   }
                   return nullptr;
               }()) {
        showEngine(*engine);
    } else if (PaperListPtr list = [&]() -> PaperListPtr {
                   for (const PaperListPtr &candidate : m_lists->resultsAs<PaperList>()) {
                       if (candidate->id() == *id)
                           return candidate;
                   }
                   return nullptr;
               }()) {
        showList(list);
    } else {
        // A list that is no longer stored: nothing at all.
        setModel(nullptr);
        m_shown = Shown::nothing;
        m_stack->setCurrentWidget(m_blank);
        setTitle(QString());
    }
    updateToolBar();
    updateImporter();
}

void ContentView::showEngine(SearchEngine &engine)
{
    setTitle(engine.name());
    const std::optional<QList<PaperPtr>> &papers = engine.papers();
    if (!papers) {
        setModel(nullptr);
        showPlaceholder(Shown::ready, QStringLiteral("sparkle.magnifyingglass"), QStringLiteral("Ready to rumble"),
                        QStringLiteral("Use the search bar to search ") + engine.name() + QStringLiteral(" for papers"));
        return;
    }
    if (papers->isEmpty()) {
        setModel(nullptr);
        showPlaceholder(Shown::noResults, QStringLiteral("wind"), QStringLiteral("No luck"),
                        QStringLiteral("Your search didn't return any results"));
        return;
    }
    // New rows only for another engine or newly stored results; the model holds
    // the array, so the comparison cannot be fooled by a reused allocation.
    if (m_shownEngine != &engine || m_shownResults.constData() != papers->constData()
        || m_shownResults.size() != papers->size()) {
        setModel(std::make_unique<PaperListModel>(*papers));
        m_shownEngine = &engine;
        m_shownResults = *papers;
    }
    m_shown = Shown::papers;
    m_stack->setCurrentWidget(m_listView);
}

void ContentView::showList(const PaperListPtr &list)
{
    setTitle(list->name());
    if (m_shownList != list) {
        setModel(std::make_unique<PaperListModel>(list));
        m_shownList = list;
    }
    if (list->paperCount() == 0) {
        showPlaceholder(Shown::emptyList, QStringLiteral("eyeglasses"), QStringLiteral("Nothing to see here"),
                        QStringLiteral("This list is empty, use the search engines and add papers to this list"));
        return;
    }
    m_shown = Shown::papers;
    m_stack->setCurrentWidget(m_listView);
}

void ContentView::setModel(std::unique_ptr<PaperListModel> model)
{
    if (!model && !m_model)
        return;
    m_listView->setPaperModel(model.get());
    m_model = std::move(model);
    m_shownList = nullptr;
    m_shownEngine = nullptr;
    m_shownResults.clear();
}

void ContentView::showPlaceholder(Shown shown, const QString &symbol, const QString &title, const QString &sentence)
{
    m_shown = shown;
    m_placeholder->setSymbol(symbol);
    m_placeholder->setTitle(title);
    m_placeholder->setSentence(sentence);
    m_stack->setCurrentWidget(m_placeholder);
}

void ContentView::setTitle(const QString &title)
{
    if (title == m_title)
        return;
    m_title = title;
    applyWindowTitle();
    emit navigationTitleChanged(title);
}

void ContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    applyWindowTitle();
}

void ContentView::applyWindowTitle()
{
    // The window shows its content column's title, as the original platform does.
    if (QWidget *top = window(); top != this)
        top->setWindowTitle(m_title.isEmpty() ? localized("Brivet") : m_title);
}

void ContentView::updateToolBar()
{
    const PaperPtr selected = m_environment.appState.selectedPaper();
    const ToolBarKey key{m_shown, m_shownList.get(), m_shownEngine, selected.get()};
    if (m_toolBarActions && key == m_toolBarKey)
        return;
    m_toolBarKey = key;
    // Later: an action of the old bar may be what is running now.
    if (m_toolBarActions)
        m_toolBarActions->deleteLater();
    m_toolBarActions = new QWidget(this);
    m_toolBarActions->hide();
    m_toolBar->clear();

    QWidget *holder = m_toolBarActions;
    QList<QAction *> actions;
    if (m_shown == Shown::papers && m_shownEngine && selected) {
        actions << (new AddToMenu(m_environment, selected, holder))->menuAction();
    } else if (m_shown == Shown::emptyList || (m_shown == Shown::papers && m_shownList)) {
        actions << new ImportPaperAction(m_environment, holder);
        if (m_shown == Shown::papers && selected) {
            actions << new TakeNotesAction(m_environment, nullptr, holder)
                    << (new AddToMenu(m_environment, selected, holder))->menuAction()
                    << new RemovePaperAction(m_environment, selected, m_shownList, holder);
        }
    }
    for (QAction *action : std::as_const(actions)) {
        m_toolBar->addAction(action);
        if (auto *button = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(action))) {
            button->setAccessibleName(action->iconText());
            if (action->menu())
                button->setPopupMode(QToolButton::InstantPopup);
            if (PaperAction::isDestructive(action))
                DestructiveStyle::applyTo(button);
        }
    }
    m_toolBar->setVisible(!actions.isEmpty());
}

void ContentView::updateImporter()
{
    const bool wanted = m_environment.appState.showImporter() && m_shownList
        && (m_shown == Shown::emptyList || m_shown == Shown::papers);
    if (wanted && !m_importer) {
        openImporterSheet(m_shownList);
    } else if (!wanted && m_importer) {
        m_importer->close();
    }
}

void ContentView::openImporterSheet(const PaperListPtr &list)
{
    auto *sheet = new QDialog(this);
    sheet->setObjectName(QStringLiteral("importerSheet"));
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setAccessibleName(localized("Import paper"));
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    // A new form each time: every opening starts blank. It closes the sheet itself.
    layout->addWidget(new PaperImporterView(m_environment, list.get(), sheet));
    connect(sheet, &QDialog::finished, this, [this] { m_environment.appState.setShowImporter(false); });
    m_importer = sheet;
    sheet->open();
}
