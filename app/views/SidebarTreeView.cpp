#include "SidebarTreeView.h"

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
