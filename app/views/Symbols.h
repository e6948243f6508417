#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The one table from the symbol names the models and views use ("folder",
// "trash", "magnifyingglass", ...) to freedesktop icon names. Icons come from
// the user's icon theme, else from the fallback theme that the install script
// installs, so every symbol draws on a bare machine too. They are monochrome
// and drawn in the palette's text colour, so they follow a light or dark palette.

// The icon for a symbol name; an unknown name gives a null icon.
QIcon symbolIcon(const QString &systemSymbolName);
// The symbol at a size, in one colour (a placeholder's large symbol, for instance).
QPixmap symbolPixmap(const QString &systemSymbolName, int size, const QColor &color, qreal devicePixelRatio = 1.0);
// Every symbol name of the table.
QStringList knownSymbolNames();

// Makes the fallback theme known to Qt; call once after the application object exists.
void installSymbolTheme();
