#pragma once

#include "PaperList.h"
#include "SidebarTreeView.h"

#include <QWidget>

class QToolBar;
class SidebarModel;
struct ViewEnvironment;

// The first column: the search engines and the user's lists in one selectable
// list, with a "New List" button. Choosing a row selects that engine or list
// for the window (and clears the selected paper); a list row renames in place
// (a click on the selected row, a double click, F2) and is saved when its field
// closes, deletes from its context menu, and takes papers dropped on it.
//
// What is highlighted is always what AppState holds: a selection cleared or
// changed elsewhere (a deleted list, another window) shows here at once.
class SidebarView : public QWidget {
    Q_OBJECT
public:
    SidebarView(ViewEnvironment &environment, QWidget *parent = nullptr);

    QTreeView *treeView() const { return m_tree; }
    SidebarModel *model() const { return m_model; }
    QAction *newListAction() const { return m_newList; }

    // The sidebar's own operations, as its button and menu run them.
    PaperListPtr createList();
    void deleteList(const PaperListPtr &list);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void selectionDidChange();
    void showAppStateSelection();
    void showContextMenu(const QModelIndex &row, const QPoint &where);
    void saveAfterRename();

    ViewEnvironment &m_environment;
    SidebarModel *m_model;
    SidebarTreeView *m_tree;
    QToolBar *m_toolBar;
    QAction *m_newList;
    QWidget *m_newListButton = nullptr;
    bool m_followingAppState = false;
};
