#pragma once

#include "Paper.h"

#include <QMenu>

class ModelQuery;
struct ViewEnvironment;

// "Add To": a menu of every stored list, in the store's order, that adds the
// paper to the chosen one (a list that already holds it is offered too, and
// choosing it changes nothing). While no list is stored the menu's action is
// hidden, so a tool bar or a parent menu shows nothing for it.
class AddToMenu : public QMenu {
    Q_OBJECT
public:
    AddToMenu(ViewEnvironment &environment, PaperPtr paper, QWidget *parent);

private:
    void rebuild();

    ViewEnvironment &m_environment;
    PaperPtr m_paper;
    ModelQuery *m_lists;
};
