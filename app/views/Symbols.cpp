#include "Symbols.h"

#include "SymbolIconEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace {

// Symbol name → freedesktop icon name. Symbolic (monochrome) variants match the
// single-colour symbols the views were drawn with.
const QHash<QString, QString> &symbolTable()
{
    static const QHash<QString, QString> table{
        // Search engines, placeholders and the search field.
        {QStringLiteral("stroke.line.diagonal.slash"), QStringLiteral("applications-science-symbolic")},
        {QStringLiteral("text.magnifyingglass"), QStringLiteral("edit-find-symbolic")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("system-search-symbolic")},
        {QStringLiteral("doc.text.magnifyingglass"), QStringLiteral("system-search-symbolic")},
        {QStringLiteral("sparkle.magnifyingglass"), QStringLiteral("edit-find-symbolic")},
        {QStringLiteral("questionmark.app.dashed"), QStringLiteral("dialog-question-symbolic")},
        {QStringLiteral("wind"), QStringLiteral("weather-windy-symbolic")},
        {QStringLiteral("eyeglasses"), QStringLiteral("face-glasses-symbolic")},
        // Lists.
        {QStringLiteral("folder"), QStringLiteral("folder-symbolic")},
        {QStringLiteral("plus"), QStringLiteral("list-add-symbolic")},
        {QStringLiteral("trash"), QStringLiteral("user-trash-symbolic")},
        // Paper actions and details.
        {QStringLiteral("plus.rectangle.on.folder"), QStringLiteral("folder-new-symbolic")},
        {QStringLiteral("document.on.trash"), QStringLiteral("edit-delete-symbolic")},
        {QStringLiteral("document.badge.plus"), QStringLiteral("document-new-symbolic")},
        {QStringLiteral("pencil.and.scribble"), QStringLiteral("document-edit-symbolic")},
        {QStringLiteral("square.and.pencil"), QStringLiteral("document-edit-symbolic")},
        {QStringLiteral("doc"), QStringLiteral("text-x-generic-symbolic")},
        {QStringLiteral("doc.text"), QStringLiteral("x-office-document-symbolic")},
        {QStringLiteral("safari"), QStringLiteral("web-browser-symbolic")},
        {QStringLiteral("calendar"), QStringLiteral("x-office-calendar-symbolic")},
        {QStringLiteral("number"), QStringLiteral("edit-copy-symbolic")},
        // Sheets.
        {QStringLiteral("xmark"), QStringLiteral("window-close-symbolic")},
        {QStringLiteral("checkmark"), QStringLiteral("object-select-symbolic")},
    };
    return table;
}

} // namespace

QIcon symbolIcon(const QString &systemSymbolName)
{
    const auto found = symbolTable().constFind(systemSymbolName);
    if (found == symbolTable().constEnd())
        return QIcon();
    const QIcon themeIcon = QIcon::fromTheme(*found);
    if (themeIcon.isNull())
        return QIcon();
    return QIcon(new SymbolIconEngine(themeIcon));
}

QPixmap symbolPixmap(const QString &systemSymbolName, int size, const QColor &color, qreal devicePixelRatio)
{
    const auto found = symbolTable().constFind(systemSymbolName);
    if (found == symbolTable().constEnd())
        return QPixmap();
    return SymbolIconEngine::tinted(QIcon::fromTheme(*found), QSize(size, size), devicePixelRatio, color);
}

QStringList knownSymbolNames()
{
    return symbolTable().keys();
}

void installSymbolTheme()
{
    // Outside a desktop session (the offscreen platform, a bare window manager) Qt
    // may not look in the XDG icon folders at all.
    QStringList paths = QIcon::themeSearchPaths();
    QStringList folders = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                                    QStandardPaths::LocateDirectory);
    folders.prepend(QDir::homePath() + QStringLiteral("/.icons"));
    for (const QString &folder : std::as_const(folders)) {
        if (!paths.contains(folder) && QFileInfo(folder).isDir())
            paths.append(folder);
    }
    QIcon::setThemeSearchPaths(paths);
    // Adwaita is what the install script installs; a desktop's own theme still wins.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}
