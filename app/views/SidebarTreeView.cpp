#include "SidebarTreeView.h"

#include <QContextMenuEvent>

SidebarTreeView::SidebarTreeView(QWidget *parent) : QTreeView(parent) {}

QItemSelectionModel::SelectionFlags SidebarTreeView::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    if (!index.isValid() || !(model()->flags(index) & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    return QTreeView::selectionCommand(index, event);
}

void SidebarTreeView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.parent() == parent && current.row() >= start && current.row() <= end)
        selectionModel()->clear();
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void SidebarTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        emit menuRequested(indexAt(event->pos()), event->globalPos());
        return;
    }
    const QModelIndex row = currentIndex();
    emit menuRequested(row, viewport()->mapToGlobal(visualRect(row).center()));
}
