#include "DestructiveStyle.h"

#include "PaperAction.h"

#include <QMenu>
#include <QStyleOptionMenuItem>
#include <QToolButton>

namespace {

void paintDestructive(QPalette &palette)
{
    const QColor red = DestructiveStyle::color(palette);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, red);
    }
}

} // namespace

DestructiveStyle::DestructiveStyle() = default;

DestructiveStyle *DestructiveStyle::shared()
{
    // One for the process, over the application's style; never deleted, as widgets may use it to the end.
    static DestructiveStyle *style = new DestructiveStyle;
    return style;
}

QColor DestructiveStyle::color(const QPalette &palette)
{
    const bool dark = palette.color(QPalette::Window).lightnessF() < 0.5;
    return dark ? QColor(0xff, 0x7b, 0x63) : QColor(0xc0, 0x1c, 0x28);
}

void DestructiveStyle::applyTo(QMenu *menu)
{
    menu->setStyle(shared());
}

void DestructiveStyle::applyTo(QAbstractButton *button)
{
    QPalette palette = button->palette();
    paintDestructive(palette);
    button->setPalette(palette);
}

void DestructiveStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                   const QWidget *widget) const
{
    const auto *menu = qobject_cast<const QMenu *>(widget);
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuItem && menu && item && PaperAction::isDestructive(menu->actionAt(option->rect.center()))) {
        QStyleOptionMenuItem destructive = *item;
        paintDestructive(destructive.palette);
        QProxyStyle::drawControl(element, &destructive, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
