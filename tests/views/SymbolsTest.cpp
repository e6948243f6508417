#include "PaperList.h"
#include "SearchEngines.h"
#include "Symbols.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QPalette>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The symbol names that the code hands to the symbol functions or to a placeholder as literals.
QSet<QString> symbolNamesInTheCode()
{
    static const QRegularExpression use(
        R"re((?:symbolIcon|symbolPixmap|setSymbol|PlaceholderView)\(\s*QStringLiteral\("([^"]+)"\))re");
    QSet<QString> names;
    QDirIterator files(QStringLiteral(BRIVET_SOURCE_DIR "/app"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto &match : use.globalMatch(text))
            names << match.captured(1);
    }
    return names;
}

QColor colorOf(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).alpha() == 255)
                return image.pixelColor(x, y);
    return {};
}

} // namespace

TEST(Symbols, EverySymbolTheCodeUsesDraws)
{
    QSet<QString> used = symbolNamesInTheCode();
    EXPECT_GE(used.size(), 3) << "the scan finds the placeholders' symbols";
    for (const SearchEngine *engine : searchEngines())
        used << engine->icon();
    used << PaperList().icon();
    const QStringList known = knownSymbolNames();
    used.unite(QSet<QString>(known.cbegin(), known.cend()));
    for (const QString &name : used) {
        const QIcon icon = symbolIcon(name);
        EXPECT_FALSE(icon.isNull()) << name.toStdString();
        EXPECT_FALSE(icon.pixmap(16).isNull()) << name.toStdString();
        EXPECT_FALSE(symbolPixmap(name, 80, Qt::red).isNull()) << name.toStdString();
    }
    EXPECT_TRUE(symbolIcon("no.such.symbol").isNull());
}

TEST(Symbols, IconsTakeThePalettesTextColourWhenDrawn)
{
    const QPalette saved = QApplication::palette();
    for (const QColor text : {QColor(Qt::black), QColor(240, 240, 240)}) {
        QPalette palette = saved;
        palette.setColor(QPalette::Active, QPalette::WindowText, text);
        QApplication::setPalette(palette);
        // The same icon object, drawn after the change, takes the new colour.
        static const QIcon trash = symbolIcon("trash");
        EXPECT_EQ(colorOf(trash.pixmap(32).toImage()).rgb(), text.rgb());
    }
    QApplication::setPalette(saved);
    EXPECT_EQ(colorOf(symbolPixmap("folder", 80, Qt::blue).toImage()).rgb(), QColor(Qt::blue).rgb());
}
