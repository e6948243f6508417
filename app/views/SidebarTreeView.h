#pragma once

#include <QTreeView>

// The sidebar's list: section headers cannot be chosen, and nothing but
// another row changes the choice (a click on a header or on empty space, or
// the cursor passing over a header, leaves it as it is). A chosen row that goes
// away leaves nothing chosen rather than choosing its neighbour. The menu key
// asks for the current row's menu.
class SidebarTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit SidebarTreeView(QWidget *parent = nullptr);

signals:
    // A context menu asked for a row, by the mouse or the keyboard, to show at `where` (global).
    void menuRequested(const QModelIndex &row, const QPoint &where);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
};
