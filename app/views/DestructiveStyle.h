#pragma once

#include <QProxyStyle>

class QAbstractButton;
class QAction;
class QMenu;

// How the destructive entries ("Delete", "Remove from …", "Delete PDF") look:
// in the desktop's colour for actions that cannot be undone (the red of
// destructive buttons), text and symbol alike, in menus and on tool buttons.
// Which actions are destructive is PaperAction::isDestructive().
class DestructiveStyle : public QProxyStyle {
    Q_OBJECT
public:
    // The red that stays readable on the palette's window colour, light or dark.
    static QColor color(const QPalette &palette);

    // Draws the menu's destructive entries in that colour.
    static void applyTo(QMenu *menu);
    // Gives a button for a destructive action (a tool button, a dialog's button) that colour.
    static void applyTo(QAbstractButton *button);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;

private:
    DestructiveStyle();
    static DestructiveStyle *shared();
};
