#pragma once

#include <QAction>

struct ViewEnvironment;

// The base of the paper action buttons: a QAction with a localized label,
// a symbol, a localized help text (tooltip) and an accessible name, that takes
// what it acts on at construction and the shared objects from the window's
// environment, so that it behaves alike in a tool bar, a context menu or the
// detail's action bar.
class PaperAction : public QAction {
    Q_OBJECT
public:
    // Works out the enabled state again from what it depends on now. Actions
    // whose state depends on the disk also do this when AppState::refreshView
    // flips and when their paper changes; a menu calls it when about to show
    // (refreshWhenShown).
    virtual void refresh() {}

    // Marks an action whose result cannot be undone ("Delete", "Remove from …",
    // "Delete PDF"); tool bars and menus draw it in the destructive colour.
    static void setDestructive(QAction *action);
    static bool isDestructive(const QAction *action);

protected:
    PaperAction(ViewEnvironment &environment, const QString &text, const QString &symbol, const QString &help,
                QObject *parent);
    void setLabels(const QString &text, const QString &help);

    ViewEnvironment &m_environment;
};
