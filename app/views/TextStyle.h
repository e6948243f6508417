#pragma once

#include <QFont>
#include <QPalette>

class QWidget;

// The named text styles of the views, sized relative to the system font so that
// they follow the user's font settings.
enum class TextStyle { largeTitle, title2, headline, subheadline, body, caption, monospacedCaption };

QFont textStyleFont(TextStyle style);

// The palette role of secondary text (explanations, dates, authors). It follows
// the light or dark palette like every other role.
constexpr QPalette::ColorRole secondaryColorRole = QPalette::PlaceholderText;
QColor secondaryColor(const QPalette &palette);

// Gives a widget the style's font and, when secondary, the secondary colour.
void applyTextStyle(QWidget *widget, TextStyle style, bool secondary = false);
