#include "PaperListView.h"

#include "AppState.h"
#include "ArticleContextMenu.h"
#include "CrossFade.h"
#include "Localized.h"
#include "PaperListDelegate.h"
#include "PaperListModel.h"
#include "ViewEnvironment.h"

#include <QContextMenuEvent>
#include <QScopedValueRollback>

PaperListView::PaperListView(ViewEnvironment &environment, QWidget *parent)
    : QListView(parent), m_environment(environment)
{
    setAccessibleName(localized("Papers"));
    setItemDelegate(new PaperListDelegate(this));
    // Rows of one height: laying out a long list reads none of its papers.
    setUniformItemSizes(true);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setDragEnabled(true);
    setDragDropMode(DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setFrameShape(QFrame::NoFrame);
    connect(&environment.appState, &AppState::selectedPaperChanged, this, &PaperListView::showAppStateSelection);
}

void PaperListView::setPaperModel(PaperListModel *model)
{
    const QScopedValueRollback following(m_followingAppState, true);
    m_model = model;
    QItemSelectionModel *previous = selectionModel();
    setModel(model);
    delete previous;
    showAppStateSelection();
}

PaperPtr PaperListView::selectedPaper() const
{
    if (!m_model || !selectionModel())
        return nullptr;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model->paperAt(rows.first().row());
}

void PaperListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QListView::selectionChanged(selected, deselected);
    if (!m_followingAppState) {
        const CrossFade::AnimatedChanges animated;
        m_environment.appState.setSelectedPaper(selectedPaper());
    }
}

void PaperListView::showAppStateSelection()
{
    if (!m_model || !selectionModel())
        return;
    const QScopedValueRollback following(m_followingAppState, true);
    const PaperPtr paper = m_environment.appState.selectedPaper();
    const int row = paper ? m_model->rowOf(paper.get()) : -1;
    if (row < 0) {
        selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_model->index(row);
    if (!selectionModel()->isSelected(index))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void PaperListView::contextMenuEvent(QContextMenuEvent *event)
{
    const QModelIndex index = event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!m_model || !index.isValid())
        return;
    QPoint where = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse)
        where = viewport()->mapToGlobal(visualRect(index).center());
    ArticleContextMenu menu(m_environment, m_model->paperAt(index.row()), m_model->list(), this);
    menu.exec(where);
}

void PaperListView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.row() >= start && current.row() <= end)
        selectionModel()->clear();
    QListView::rowsAboutToBeRemoved(parent, start, end);
}
