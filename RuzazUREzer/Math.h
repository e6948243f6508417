#pragma once
// The formula engine: LaTeX parsed into atoms (parser/, atoms/), set with the embedded math font
// (font/, typeset/) into a display tree, and drawn with any QPainter in its pen. It needs Qt Gui
// and no widgets; the Math::View widget (view/) sits on top of it.
#include <QtGlobal>

namespace Math {

// TeX's display style (large operators take limits, fractions are full size) or text style.
enum class Style { display, text };

// Font sizes beyond a poster's are clamped: they would only exhaust memory when drawn.
inline constexpr qreal maxFontSize = 1000;

// The parsed formula.
class Atom;
class AtomList;
class OrdinaryAtom;
class FractionAtom;
class RadicalAtom;
class LargeOperatorAtom;
class InnerAtom;
class AccentAtom;
class LineAtom;
class TableAtom;
class StyleAtom;
class SpaceAtom;
class Parser;
class ParserError;
class SymbolTable;
class Writer;

// Fonts, typesetting, the display tree and its drawing.
class FontTable;
class FontRegistry;
class FontMetrics;
class Typesetter;
class DisplayNode;
class GlyphNode;
class RuleNode;
class ListNode;
class Drawing;
class DisplayProvider;

} // namespace Math
