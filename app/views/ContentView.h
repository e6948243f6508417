#pragma once

#include "ViewEnvironment.h"

#include <QWidget>

class QListWidget;
class QStackedLayout;
class PlaceholderView;

// The middle column: the selected engine's results or the selected list's papers.
class ContentView : public QWidget {
    Q_OBJECT
public:
    ContentView(ViewEnvironment &env, QWidget *parent = nullptr);

private:
    void update();

    ViewEnvironment &m_env;
    QStackedLayout *m_stack;
    PlaceholderView *m_placeholder;
    QListWidget *m_papers;
};
