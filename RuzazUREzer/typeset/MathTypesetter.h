#pragma once

#include "MathAtom.h"
#include "MathDisplayTree.h"
#include "MathFontMetrics.h"

#include <array>
#include <memory>

// Sets atoms as TeX sets math (the rules of its Appendix G), with the constants, variants and
// assemblies of the OpenType MATH table: atom classes and the spacing between them, the four
// styles and their cramped forms, scripts, fractions, radicals, large operators and limits,
// growing delimiters, accents, over- and underlines and tables. The result is a display tree.
// Const and free of shared mutable state, so typesetters on different threads do not interfere.
class Math::Typesetter {
public:
    using Level = Atom::Level;

    Typesetter(std::shared_ptr<const FontTable> font, qreal pixelSize);

    std::unique_ptr<ListNode> typeset(const AtomList &list, Level level) const;

    // A style: one of the four levels, cramped or not (cramped raises superscripts less).
    struct Style {
        Level level = Level::display;
        bool cramped = false;
        Style superscript() const;
        Style subscript() const;
        Style numerator() const;
        Style denominator() const;
        Style cramp() const { return {level, true}; }
        bool isScript() const { return level == Level::script || level == Level::scriptScript; }
    };

private:
    struct Item;

    const FontMetrics &metrics(Style style) const;
    std::unique_ptr<ListNode> typesetList(const AtomList &list, Style style, bool leadingOrd = false) const;
    Item typesetAtom(const Atom &atom, Style &style) const;
    std::unique_ptr<DisplayNode> typesetNucleus(const Atom &atom, Style style, qreal &italic, bool &isGlyph) const;
    std::unique_ptr<ListNode> typesetText(const QString &text, Atom::FontStyle fontStyle, Style style, qreal &italic) const;
    std::unique_ptr<DisplayNode> attachScripts(std::unique_ptr<DisplayNode> nucleus, const Atom &atom, Style style,
                                               qreal italic, bool isGlyph) const;
    std::unique_ptr<DisplayNode> attachLimits(std::unique_ptr<DisplayNode> nucleus, const Atom &atom, Style style,
                                              qreal italic) const;

    std::unique_ptr<DisplayNode> fraction(const FractionAtom &atom, Style style) const;
    std::unique_ptr<DisplayNode> radical(const RadicalAtom &atom, Style style) const;
    std::unique_ptr<DisplayNode> largeOperator(const LargeOperatorAtom &atom, Style style, qreal &italic, bool &isGlyph) const;
    std::unique_ptr<DisplayNode> inner(const InnerAtom &atom, Style style) const;
    std::unique_ptr<DisplayNode> accent(const AccentAtom &atom, Style style) const;
    static bool accentTakesScripts(const AccentAtom &atom);
    std::unique_ptr<DisplayNode> line(const LineAtom &atom, Style style) const;
    std::unique_ptr<DisplayNode> table(const TableAtom &atom, Style style) const;

    // A delimiter at least targetHeight tall, centred on the math axis; empty for ".".
    std::unique_ptr<DisplayNode> delimiter(const QString &character, qreal targetHeight, Style style) const;
    // A glyph grown horizontally to at least targetWidth.
    std::unique_ptr<DisplayNode> stretchHorizontally(quint32 glyph, qreal targetWidth, Style style) const;
    std::unique_ptr<DisplayNode> glyphBox(quint32 glyph, Style style) const;
    std::unique_ptr<DisplayNode> rule(qreal width, qreal bottom, qreal top) const;

    std::shared_ptr<const FontTable> m_font;
    std::array<std::unique_ptr<FontMetrics>, 3> m_metrics;
};
