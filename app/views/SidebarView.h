#pragma once

#include "ViewEnvironment.h"

#include <QWidget>

class ModelQuery;
class QListWidget;

// The sidebar: the search engines, then the user's lists. Picking a row selects
// it in the window state.
class SidebarView : public QWidget {
    Q_OBJECT
public:
    SidebarView(ViewEnvironment &env, QWidget *parent = nullptr);

private:
    void rebuild();

    ViewEnvironment &m_env;
    ModelQuery *m_lists;
    QListWidget *m_rows;
};
