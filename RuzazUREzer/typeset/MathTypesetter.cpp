#include "MathTypesetter.h"

#include "MathAlphabet.h"
#include "MathAtomKinds.h"
#include "MathFontTable.h"

#include <hb-ot.h>

#include <algorithm>

using Type = Math::Atom::Type;
using Level = Math::Atom::Level;
using FontStyle = Math::Atom::FontStyle;
using Role = Math::DisplayNode::Role;

struct Math::Typesetter::Item {
    std::unique_ptr<DisplayNode> box;
    Type spacing = Type::ordinary;
};

namespace {

// TeX's spacing between atom classes, in mu: rows are the left atom, columns the right one,
// in the order Ord Op Bin Rel Open Close Punct Inner. Negative entries apply only in display
// and text style.
constexpr int kSpacing[8][8] = {
    {0, 3, -4, -5, 0, 0, 0, -3},
    {3, 3, 0, -5, 0, 0, 0, -3},
    {-4, -4, 0, 0, -4, 0, 0, -4},
    {-5, -5, 0, 0, -5, 0, 0, -5},
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 3, -4, -5, 0, 0, 0, -3},
    {-3, -3, 0, -3, -3, -3, -3, -3},
    {-3, 3, -4, -5, -3, 0, -3, -3},
};

int spacingIndex(Type type)
{
    switch (type) {
    case Type::largeOperator: return 1;
    case Type::binary: return 2;
    case Type::relation: return 3;
    case Type::open: return 4;
    case Type::close: return 5;
    case Type::punctuation: return 6;
    case Type::inner:
    case Type::fraction: return 7;
    default: return 0;
    }
}

bool isCombining(char32_t c)
{
    return (c >= 0x300 && c <= 0x36F) || (c >= 0x20D0 && c <= 0x20FF);
}

} // namespace

Math::Typesetter::Style Math::Typesetter::Style::superscript() const
{
    switch (level) {
    case Level::display:
    case Level::text: return {Level::script, cramped};
    default: return {Level::scriptScript, cramped};
    }
}

Math::Typesetter::Style Math::Typesetter::Style::subscript() const
{
    return {superscript().level, true};
}

Math::Typesetter::Style Math::Typesetter::Style::numerator() const
{
    switch (level) {
    case Level::display: return {Level::text, cramped};
    case Level::text: return {Level::script, cramped};
    default: return {Level::scriptScript, cramped};
    }
}

Math::Typesetter::Style Math::Typesetter::Style::denominator() const
{
    return {numerator().level, true};
}

Math::Typesetter::Typesetter(std::shared_ptr<const FontTable> font, qreal pixelSize) : m_font(std::move(font))
{
    const qreal script = m_font->constant(HB_OT_MATH_CONSTANT_SCRIPT_PERCENT_SCALE_DOWN);
    const qreal scriptScript = m_font->constant(HB_OT_MATH_CONSTANT_SCRIPT_SCRIPT_PERCENT_SCALE_DOWN);
    m_metrics[0] = std::make_unique<FontMetrics>(*m_font, pixelSize);
    m_metrics[1] = std::make_unique<FontMetrics>(*m_font, pixelSize * (script > 0 ? script : 70) / 100);
    m_metrics[2] = std::make_unique<FontMetrics>(*m_font, pixelSize * (scriptScript > 0 ? scriptScript : 50) / 100);
}

const Math::FontMetrics &Math::Typesetter::metrics(Style style) const
{
    switch (style.level) {
    case Level::display:
    case Level::text: return *m_metrics[0];
    case Level::script: return *m_metrics[1];
    case Level::scriptScript: return *m_metrics[2];
    }
    return *m_metrics[0];
}

std::unique_ptr<Math::ListNode> Math::Typesetter::typeset(const AtomList &list, Level level) const
{
    return typesetList(list, Style{level, false});
}

std::unique_ptr<Math::ListNode> Math::Typesetter::typesetList(const AtomList &list, Style style, bool leadingOrd) const
{
    // Classes as TeX sees them: a binary operator where an operand is missing becomes Ord.
    std::vector<Type> types(list.size());
    int previous = -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Atom &atom = list.at(i);
        Type t = atom.type();
        types[i] = t;
        if (t == Type::space || t == Type::style)
            continue;
        if (t == Type::binary) {
            const Type p = previous < 0 ? (leadingOrd ? Type::ordinary : Type::open) : types[std::size_t(previous)];
            if (p == Type::binary || p == Type::largeOperator || p == Type::relation || p == Type::open
                || p == Type::punctuation)
                types[i] = Type::ordinary;
        } else if ((t == Type::relation || t == Type::close || t == Type::punctuation) && previous >= 0
                   && types[std::size_t(previous)] == Type::binary) {
            types[std::size_t(previous)] = Type::ordinary;
        }
        previous = int(i);
    }
    if (previous >= 0 && types[std::size_t(previous)] == Type::binary)
        types[std::size_t(previous)] = Type::ordinary;

    auto result = std::make_unique<ListNode>();
    qreal x = 0;
    int previousSpacing = leadingOrd ? 0 : -1;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Atom &atom = list.at(i);
        if (atom.type() == Type::style) {
            style = Style{static_cast<const StyleAtom &>(atom).level, style.cramped};
            continue;
        }
        if (atom.type() == Type::space) {
            x += static_cast<const SpaceAtom &>(atom).mu * metrics(style).mu();
            continue;
        }
        Item item = typesetAtom(atom, style);
        const Type spacingType = types[i] == Type::binary || (types[i] == Type::ordinary && atom.type() == Type::binary)
                                     ? types[i] : item.spacing;
        const int index = spacingIndex(spacingType);
        if (previousSpacing >= 0) {
            const int space = kSpacing[previousSpacing][index];
            if (space > 0 || (space < 0 && !style.isScript()))
                x += std::abs(space) * metrics(style).mu();
        }
        previousSpacing = index;
        const qreal w = item.box->width;
        result->add(std::move(item.box), x, 0);
        x += w;
    }
    result->width = std::max<qreal>(x, 0);
    return result;
}

Math::Typesetter::Item Math::Typesetter::typesetAtom(const Atom &atom, Style &style) const
{
    Item item;
    item.spacing = atom.type();
    qreal italic = 0;
    bool isGlyph = false;
    std::unique_ptr<DisplayNode> box;
    switch (atom.type()) {
    case Type::fraction: {
        // LaTeX's \frac wraps its fraction in braces, which makes it Ord; a bare \over is Inner.
        const auto &f = static_cast<const FractionAtom &>(atom);
        box = fraction(f, style);
        static const QStringList generalized = {QStringLiteral("over"), QStringLiteral("atop"), QStringLiteral("choose"),
                                                QStringLiteral("brack"), QStringLiteral("brace")};
        item.spacing = generalized.contains(f.command) ? Type::inner : Type::ordinary;
        break;
    }
    case Type::radical:
        box = radical(static_cast<const RadicalAtom &>(atom), style);
        item.spacing = Type::ordinary;
        break;
    case Type::largeOperator: {
        const auto &op = static_cast<const LargeOperatorAtom &>(atom);
        box = largeOperator(op, style, italic, isGlyph);
        const bool limits = op.limits == LargeOperatorAtom::Limits::limits
                         || (op.limits == LargeOperatorAtom::Limits::automatic && op.limitsInDisplay
                             && style.level == Level::display);
        if (limits && (atom.superscript || atom.subscript)) {
            item.box = attachLimits(std::move(box), atom, style, italic);
            return item;
        }
        break;
    }
    case Type::inner:
        if (const auto *innerAtom = dynamic_cast<const InnerAtom *>(&atom)) {
            box = inner(*innerAtom, style);
            break;
        }
        box = typesetNucleus(atom, style, italic, isGlyph);
        break;
    case Type::accent: {
        const auto &accentAtom = static_cast<const AccentAtom &>(atom);
        box = accent(accentAtom, style);
        item.spacing = Type::ordinary;
        if (accentTakesScripts(accentAtom)) {
            item.box = std::move(box);
            return item;
        }
        break;
    }
    case Type::line:
        box = line(static_cast<const LineAtom &>(atom), style);
        item.spacing = Type::ordinary;
        break;
    case Type::table:
        box = table(static_cast<const TableAtom &>(atom), style);
        item.spacing = Type::ordinary;
        break;
    default:
        box = typesetNucleus(atom, style, italic, isGlyph);
        break;
    }
    if (atom.phantom && box->kind() == DisplayNode::Kind::list)
        static_cast<ListNode &>(*box).hidden = true;
    else if (atom.phantom) {
        auto wrapper = std::make_unique<ListNode>();
        const qreal w = box->width;
        wrapper->add(std::move(box), 0, 0);
        wrapper->width = w;
        wrapper->hidden = true;
        box = std::move(wrapper);
    }
    item.box = attachScripts(std::move(box), atom, style, italic, isGlyph);
    return item;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::glyphBox(quint32 glyph, Style style) const
{
    const FontMetrics &m = metrics(style);
    const FontMetrics::GlyphBox b = m.box(glyph);
    auto node = std::make_unique<GlyphNode>(glyph, m.pixelSize());
    node->width = b.advance;
    node->ascent = b.ascent;
    node->descent = b.descent;
    return node;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::rule(qreal width, qreal bottom, qreal top) const
{
    auto node = std::make_unique<RuleNode>();
    node->width = width;
    node->ascent = top;
    node->descent = -bottom;
    return node;
}

std::unique_ptr<Math::ListNode> Math::Typesetter::typesetText(const QString &text, FontStyle fontStyle, Style style,
                                                             qreal &italic) const
{
    const FontMetrics &m = metrics(style);
    auto list = std::make_unique<ListNode>();
    qreal x = 0;
    qreal lastAdvance = 0;
    italic = 0;
    for (const char32_t c : text.toUcs4()) {
        if (c == ' ' && fontStyle == FontStyle::text) {
            // An interword space of the text face.
            x += m.pixelSize() / 3;
            continue;
        }
        char32_t mapped = c;
        if (fontStyle != FontStyle::text) {
            // Math uses the minus sign and the asterisk operator, not their text forms.
            if (c == '-')
                mapped = 0x2212;
            else if (c == '*')
                mapped = 0x2217;
        }
        const int scriptLevel = style.level == Level::script ? 1 : style.level == Level::scriptScript ? 2 : 0;
        quint32 g = m.scriptGlyph(MathAlphabet::styled(mapped, fontStyle), scriptLevel);
        if (!g)
            g = m.glyph(c);
        auto node = glyphBox(g, style);
        if (isCombining(c)) {
            // Centred over the character before it, taking no room of its own.
            const qreal w = node->width;
            list->add(std::move(node), x - (lastAdvance + w) / 2, 0);
            continue;
        }
        lastAdvance = node->width;
        italic = m.italicCorrection(g);
        list->add(std::move(node), x, 0);
        x += lastAdvance;
    }
    list->width = x;
    return list;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::typesetNucleus(const Atom &atom, Style style, qreal &italic,
                                                                  bool &isGlyph) const
{
    italic = 0;
    isGlyph = false;
    if (atom.group)
        return typesetList(*atom.group, style);
    if (atom.nucleus.isEmpty())
        return std::make_unique<ListNode>();
    if (atom.delimiterSize > 0) {
        // \big and friends: TeX's heights of 8.5, 11.5, 14.5 and 17.5pt at 10pt, grown by the
        // \left/\right rule into these totals.
        static constexpr qreal totals[] = {1.08, 1.62, 2.16, 2.7};
        return delimiter(atom.nucleus, totals[atom.delimiterSize - 1] * metrics(style).pixelSize(), style);
    }
    auto list = typesetText(atom.nucleus, atom.fontStyle, style, italic);
    isGlyph = list->children().size() == 1;
    if (isGlyph) {
        // A lone glyph is its own box; scripts then read its italic correction.
        auto glyph = list->takeChild(0);
        glyph->position = {};
        return glyph;
    }
    return list;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::attachScripts(std::unique_ptr<DisplayNode> nucleus, const Atom &atom,
                                                                 Style style, qreal italic, bool isGlyph) const
{
    if (!atom.superscript && !atom.subscript) {
        if (italic > 0 && atom.fontStyle != FontStyle::text && atom.type() != Type::largeOperator) {
            // The italic correction keeps a slanted letter off what follows.
            nucleus->width += italic;
        }
        return nucleus;
    }
    const FontMetrics &m = metrics(style);
    auto result = std::make_unique<ListNode>();
    const quint32 baseGlyph = isGlyph && nucleus->kind() == DisplayNode::Kind::glyph
                                  ? static_cast<const GlyphNode &>(*nucleus).glyph : 0;
    const qreal nucleusWidth = nucleus->width;
    const qreal nucleusAscent = nucleus->ascent;
    const qreal nucleusDescent = nucleus->descent;
    result->add(std::move(nucleus), 0, 0);

    // Scripts of a box hang from its top and bottom; those of a glyph start from the baseline.
    qreal up = isGlyph ? 0 : nucleusAscent - metrics(style.superscript()).constant(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BASELINE_DROP_MAX);
    qreal down = isGlyph ? 0 : nucleusDescent + metrics(style.subscript()).constant(HB_OT_MATH_CONSTANT_SUBSCRIPT_BASELINE_DROP_MIN);
    std::unique_ptr<ListNode> sup;
    std::unique_ptr<ListNode> sub;
    if (atom.superscript)
        sup = typesetList(*atom.superscript, style.superscript());
    if (atom.subscript)
        sub = typesetList(*atom.subscript, style.subscript());

    if (sub && !sup) {
        down = std::max({down, m.constant(HB_OT_MATH_CONSTANT_SUBSCRIPT_SHIFT_DOWN),
                         sub->ascent - m.constant(HB_OT_MATH_CONSTANT_SUBSCRIPT_TOP_MAX)});
    }
    if (sup) {
        up = std::max({up,
                       style.cramped ? m.constant(HB_OT_MATH_CONSTANT_SUPERSCRIPT_SHIFT_UP_CRAMPED)
                                     : m.constant(HB_OT_MATH_CONSTANT_SUPERSCRIPT_SHIFT_UP),
                       sup->descent + m.constant(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BOTTOM_MIN)});
    }
    if (sup && sub) {
        down = std::max(down, m.constant(HB_OT_MATH_CONSTANT_SUBSCRIPT_SHIFT_DOWN));
        const qreal gap = (up - sup->descent) - (sub->ascent - down);
        const qreal minGap = m.constant(HB_OT_MATH_CONSTANT_SUB_SUPERSCRIPT_GAP_MIN);
        if (gap < minGap) {
            down += minGap - gap;
            const qreal limit = m.constant(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BOTTOM_MAX_WITH_SUBSCRIPT);
            const qreal lift = limit - (up - sup->descent);
            if (lift > 0) {
                up += lift;
                down -= lift;
            }
        }
    }
    qreal supKern = 0;
    qreal subKern = 0;
    if (baseGlyph) {
        // Math kerning: fit the script against the base's corner, measured where the two meet
        // (the script's edge and the base's top or bottom), taking the smaller pull.
        const auto firstGlyph = [](const ListNode &list) {
            return !list.children().empty() && list.children().front()->kind() == DisplayNode::Kind::glyph
                       ? static_cast<const GlyphNode &>(*list.children().front()).glyph : 0u;
        };
        using Corner = FontMetrics::Corner;
        if (sup) {
            const FontMetrics &ms = metrics(style.superscript());
            const quint32 g = firstGlyph(*sup);
            const auto kern = [&](qreal h) {
                return m.kerning(baseGlyph, Corner::topRight, h) + (g ? ms.kerning(g, Corner::bottomLeft, h - up) : 0);
            };
            supKern = std::max(kern(up - sup->descent), kern(nucleusAscent));
        }
        if (sub) {
            const FontMetrics &ms = metrics(style.subscript());
            const quint32 g = firstGlyph(*sub);
            const auto kern = [&](qreal h) {
                return m.kerning(baseGlyph, Corner::bottomRight, h) + (g ? ms.kerning(g, Corner::topLeft, h + down) : 0);
            };
            subKern = std::max(kern(sub->ascent - down), kern(-nucleusDescent));
        }
    }
    // A slanted letter's superscript starts after its italic correction. An operator's advance
    // already includes the correction, so its subscript tucks back under it instead.
    const bool isOperator = atom.type() == Type::largeOperator;
    const qreal supX = nucleusWidth + (isOperator ? 0 : italic) + supKern;
    const qreal subX = nucleusWidth - (isOperator ? italic : 0) + subKern;
    const qreal afterScript = m.constant(HB_OT_MATH_CONSTANT_SPACE_AFTER_SCRIPT);
    qreal end = nucleusWidth;
    if (sup) {
        sup->role = Role::superscript;
        end = std::max(end, supX + sup->width);
        result->add(std::move(sup), supX, up);
    }
    if (sub) {
        sub->role = Role::subscript;
        end = std::max(end, subX + sub->width);
        result->add(std::move(sub), subX, -down);
    }
    result->width = end + afterScript;
    return result;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::attachLimits(std::unique_ptr<DisplayNode> nucleus, const Atom &atom,
                                                                Style style, qreal italic) const
{
    const FontMetrics &m = metrics(style);
    std::unique_ptr<ListNode> sup;
    std::unique_ptr<ListNode> sub;
    qreal width = nucleus->width;
    if (atom.superscript) {
        sup = typesetList(*atom.superscript, style.superscript());
        width = std::max(width, sup->width);
    }
    if (atom.subscript) {
        sub = typesetList(*atom.subscript, style.subscript());
        width = std::max(width, sub->width);
    }
    auto result = std::make_unique<ListNode>();
    const qreal opAscent = nucleus->ascent + nucleus->position.y();
    const qreal opDescent = nucleus->descent - nucleus->position.y();
    const qreal opWidth = nucleus->width;
    const qreal opY = nucleus->position.y();
    result->add(std::move(nucleus), (width - opWidth) / 2, opY);
    // The upper limit moves right and the lower one left by half the italic correction, as the
    // slant of an integral asks.
    if (sup) {
        const qreal shift = opAscent + std::max(m.constant(HB_OT_MATH_CONSTANT_UPPER_LIMIT_BASELINE_RISE_MIN),
                                                m.constant(HB_OT_MATH_CONSTANT_UPPER_LIMIT_GAP_MIN) + sup->descent);
        sup->role = Role::upperLimit;
        const qreal w = sup->width;
        result->add(std::move(sup), (width - w) / 2 + italic / 2, shift);
    }
    if (sub) {
        const qreal shift = opDescent + std::max(m.constant(HB_OT_MATH_CONSTANT_LOWER_LIMIT_BASELINE_DROP_MIN),
                                                 m.constant(HB_OT_MATH_CONSTANT_LOWER_LIMIT_GAP_MIN) + sub->ascent);
        sub->role = Role::lowerLimit;
        const qreal w = sub->width;
        result->add(std::move(sub), (width - w) / 2 - italic / 2, -shift);
    }
    result->width = width;
    return result;
}
