#include "TextStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QWidget>

namespace {

struct StyleMetrics {
    qreal scale; // of the system font's size
    QFont::Weight weight;
};

StyleMetrics metrics(TextStyle style)
{
    switch (style) {
    case TextStyle::largeTitle: return {2.0, QFont::Normal};
    case TextStyle::title2: return {1.3, QFont::Normal};
    case TextStyle::headline: return {1.0, QFont::Bold};
    case TextStyle::subheadline: return {0.85, QFont::Normal};
    case TextStyle::body: return {1.0, QFont::Normal};
    case TextStyle::caption:
    case TextStyle::monospacedCaption: return {0.85, QFont::Normal};
    }
    return {1.0, QFont::Normal};
}

} // namespace

QFont textStyleFont(TextStyle style)
{
    QFont font = style == TextStyle::monospacedCaption ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                                       : QApplication::font();
    const qreal base = QApplication::font().pointSizeF() > 0 ? QApplication::font().pointSizeF() : 10.0;
    const StyleMetrics m = metrics(style);
    font.setPointSizeF(base * m.scale);
    font.setWeight(m.weight);
    return font;
}

QColor secondaryColor(const QPalette &palette)
{
    return palette.color(secondaryColorRole);
}

void applyTextStyle(QWidget *widget, TextStyle style, bool secondary)
{
    widget->setFont(textStyleFont(style));
    if (secondary)
        widget->setForegroundRole(secondaryColorRole);
}
