#include "SidebarView.h"

#include "AppState.h"
#include "DataManager.h"
#include "DestructiveStyle.h"
#include "Localized.h"
#include "ModelContext.h"
#include "PaperAction.h"
#include "SidebarDelegate.h"
#include "SidebarModel.h"
#include "SidebarTreeView.h"
#include "Symbols.h"
#include "ViewEnvironment.h"

#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

SidebarView::SidebarView(ViewEnvironment &environment, QWidget *parent)
    : QWidget(parent), m_environment(environment),
      m_model(new SidebarModel(environment.dataManager.context(), environment.dataManager, this)),
      m_tree(new SidebarTreeView(this)), m_toolBar(new QToolBar(this))
{
    setMinimumWidth(200);
    setAccessibleName(localized("Sidebar"));

    m_toolBar->setAccessibleName(localized("Sidebar"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_toolBar->setIconSize(QSize(16, 16));
    m_newList = m_toolBar->addAction(symbolIcon(QStringLiteral("plus")), localized("New List"));
    connect(m_newList, &QAction::triggered, this, [this] { createList(); });
    // The button says what it does; it has no help text, not even the one a tool button
    // makes of its action's text.
    if (QWidget *button = m_toolBar->widgetForAction(m_newList)) {
        button->setToolTip(QString());
        button->installEventFilter(this);
        m_newListButton = button;
    }

    m_tree->setModel(m_model);
    m_tree->setItemDelegate(new SidebarDelegate(m_tree));
    m_tree->setAccessibleName(localized("Sources"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setIndentation(0);
    m_tree->setFrameShape(QFrame::NoFrame);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::DoubleClicked
                            | QAbstractItemView::EditKeyPressed);
    m_tree->setDragDropMode(QAbstractItemView::DropOnly);
    m_tree->setAcceptDrops(true);
    m_tree->setDropIndicatorShown(true);
    // Lists take drops, never places between rows: a drop near a row's top or bottom edge is
    // still a drop on that row, not one between it and its neighbour.
    m_tree->setDragDropOverwriteMode(true);
    m_tree->setDefaultDropAction(Qt::CopyAction);
    m_tree->expandAll();
    // New sections never appear, but a reset (none is ever made) would fold them.
    connect(m_model, &QAbstractItemModel::modelReset, m_tree, &QTreeView::expandAll);

    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, &SidebarView::selectionDidChange);
    connect(m_tree, &SidebarTreeView::menuRequested, this, &SidebarView::showContextMenu);
    connect(m_tree->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &SidebarView::saveAfterRename);
    connect(&environment.appState, &AppState::selectedListIdChanged, this, &SidebarView::showAppStateSelection);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_tree);
    showAppStateSelection();
}

bool SidebarView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_newListButton && event->type() == QEvent::ToolTip) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SidebarView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_tree->expandAll();
}

void SidebarView::selectionDidChange()
{
    if (m_followingAppState)
        return;
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    AppState &appState = m_environment.appState;
    appState.setSelectedListId(selected.isEmpty() ? std::nullopt : m_model->idAt(selected.first()));
    appState.setSelectedPaper(nullptr);
}

void SidebarView::showAppStateSelection()
{
    const QScopedValueRollback following(m_followingAppState, true);
    const std::optional<QUuid> id = m_environment.appState.selectedListId();
    const QModelIndex row = id ? m_model->indexOf(*id) : QModelIndex();
    if (!row.isValid()) {
        m_tree->selectionModel()->clear();
        return;
    }
    if (!m_tree->selectionModel()->isSelected(row)) {
        m_tree->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
        m_tree->scrollTo(row);
    }
}

PaperListPtr SidebarView::createList()
{
    auto list = std::make_shared<PaperList>(QStringLiteral("Untitled"), QList<Paper *>{});
    m_environment.dataManager.context().insert(list);
    // Selecting the new row runs the selection like a click would.
    const QModelIndex row = m_model->indexOf(list->id());
    m_tree->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    m_tree->scrollTo(row);
    return list;
}

void SidebarView::deleteList(const PaperListPtr &list)
{
    // Only the list goes: its papers stay stored, in no list if it was their last.
    m_environment.dataManager.context().deleteObject(list.get());
    AppState &appState = m_environment.appState;
    appState.setSelectedPaper(nullptr);
    appState.setSelectedListId(std::nullopt);
    // The highlight must go with the selection it stood for (AppState notifies
    // nothing when it already held none).
    const QScopedValueRollback following(m_followingAppState, true);
    m_tree->selectionModel()->clear();
}

void SidebarView::showContextMenu(const QModelIndex &row, const QPoint &where)
{
    const PaperListPtr list = m_model->listAt(row);
    if (!list)
        return;
    QMenu menu(this);
    QAction *remove = menu.addAction(symbolIcon(QStringLiteral("trash")), localized("Delete"));
    PaperAction::setDestructive(remove);
    DestructiveStyle::applyTo(&menu);
    connect(remove, &QAction::triggered, this, [this, list] { deleteList(list); });
    menu.exec(where);
}

void SidebarView::saveAfterRename()
{
    try {
        m_environment.modelContext.save();
    } catch (const std::exception &) {
        // The name stays in the context, which tells the user and saves it by itself later.
    }
}
