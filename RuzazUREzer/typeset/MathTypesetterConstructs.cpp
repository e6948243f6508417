// Fractions, radicals, operators, delimiters, accents and lines.
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

namespace {

// TeX's null delimiter space, 1.2pt at 10pt: the room an empty delimiter takes.
constexpr qreal kNullDelimiterEm = 0.12;

bool isCombiningMark(char32_t c)
{
    return (c >= 0x300 && c <= 0x36F) || (c >= 0x20D0 && c <= 0x20FF);
}

// The fewest extender repeats, from `first` up to `last`, with which the parts of a glyph
// assembly, each overlapping the next by `overlap`, reach `target`. Bounded, so an absurd
// size cannot make an absurd number of glyphs.
template <class Parts>
int extenderRepeats(const Parts &parts, qreal overlap, qreal target, int first, int last)
{
    for (int repeats = first;; ++repeats) {
        qreal total = 0;
        int count = 0;
        for (const auto &part : parts) {
            const int n = part.extender ? repeats : 1;
            total += n * part.fullAdvance;
            count += n;
        }
        total -= overlap * (count - 1);
        if (total >= target || repeats >= last)
            return repeats;
    }
}

char32_t firstCharacter(const QString &text)
{
    const auto ucs4 = text.toUcs4();
    return ucs4.isEmpty() ? 0 : ucs4.front();
}

} // namespace

std::unique_ptr<Math::DisplayNode> Math::Typesetter::stretchHorizontally(quint32 glyph, qreal targetWidth, Style style) const
{
    const FontMetrics &m = metrics(style);
    std::unique_ptr<DisplayNode> best;
    for (const auto &variant : m.variants(glyph, false)) {
        best = glyphBox(variant.glyph, style);
        if (variant.size >= targetWidth)
            return best;
    }
    const auto parts = m.assembly(glyph, false);
    if (parts.empty())
        return best ? std::move(best) : glyphBox(glyph, style);
    const qreal overlap = m.minConnectorOverlap(false);
    auto list = std::make_unique<ListNode>();
    const int repeats = extenderRepeats(parts, overlap, targetWidth, 1, 64);
    qreal x = 0;
    for (const auto &part : parts) {
        for (int r = 0; r < (part.extender ? repeats : 1); ++r) {
            list->add(glyphBox(part.glyph, style), x, 0);
            x += part.fullAdvance - overlap;
        }
    }
    list->width = x + overlap;
    return list;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::delimiter(const QString &character, qreal targetHeight, Style style) const
{
    const FontMetrics &m = metrics(style);
    auto result = std::make_unique<ListNode>();
    result->role = Role::delimiter;
    if (character.isEmpty()) {
        result->width = kNullDelimiterEm * m.pixelSize();
        return result;
    }
    const quint32 glyph = m.glyph(firstCharacter(character));
    std::unique_ptr<DisplayNode> box;
    for (const auto &variant : m.variants(glyph, true)) {
        box = glyphBox(variant.glyph, style);
        if (box->height() >= targetHeight)
            break;
    }
    if (!box || box->height() < targetHeight) {
        const auto parts = m.assembly(glyph, true);
        if (!parts.empty()) {
            const qreal overlap = m.minConnectorOverlap(true);
            auto stack = std::make_unique<ListNode>();
            const int repeats = extenderRepeats(parts, overlap, targetHeight, 0, 200);
            // Parts go from bottom to top, each overlapping the one below.
            qreal y = 0;
            for (const auto &part : parts) {
                for (int r = 0; r < (part.extender ? repeats : 1); ++r) {
                    auto piece = glyphBox(part.glyph, style);
                    const qreal d = piece->descent;
                    stack->add(std::move(piece), 0, y + d);
                    y += part.fullAdvance - overlap;
                }
            }
            box = std::move(stack);
        }
    }
    if (!box)
        box = glyphBox(glyph, style);
    // Centred on the math axis.
    const qreal axis = m.constant(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    const qreal shift = axis - (box->ascent - box->descent) / 2;
    const qreal w = box->width;
    result->add(std::move(box), 0, shift);
    result->width = w;
    return result;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::fraction(const FractionAtom &atom, Style outer) const
{
    const Style style = atom.forcedLevel ? Style{*atom.forcedLevel, outer.cramped} : outer;
    const FontMetrics &m = metrics(style);
    const bool display = style.level == Level::display;
    auto num = typesetList(atom.numerator, style.numerator());
    auto den = typesetList(atom.denominator, style.denominator());
    const qreal axis = m.constant(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    qreal numShift = 0;
    qreal denShift = 0;
    const qreal thickness = atom.hasRule ? m.constant(HB_OT_MATH_CONSTANT_FRACTION_RULE_THICKNESS) : 0;
    if (atom.hasRule) {
        numShift = std::max(m.constant(display ? HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_DISPLAY_STYLE_SHIFT_UP
                                               : HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_SHIFT_UP),
                            axis + thickness / 2 + num->descent
                                + m.constant(display ? HB_OT_MATH_CONSTANT_FRACTION_NUM_DISPLAY_STYLE_GAP_MIN
                                                     : HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_GAP_MIN));
        denShift = std::max(m.constant(display ? HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_DISPLAY_STYLE_SHIFT_DOWN
                                               : HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_SHIFT_DOWN),
                            den->ascent - axis + thickness / 2
                                + m.constant(display ? HB_OT_MATH_CONSTANT_FRACTION_DENOM_DISPLAY_STYLE_GAP_MIN
                                                     : HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_GAP_MIN));
    } else {
        numShift = m.constant(display ? HB_OT_MATH_CONSTANT_STACK_TOP_DISPLAY_STYLE_SHIFT_UP : HB_OT_MATH_CONSTANT_STACK_TOP_SHIFT_UP);
        denShift = m.constant(display ? HB_OT_MATH_CONSTANT_STACK_BOTTOM_DISPLAY_STYLE_SHIFT_DOWN
                                      : HB_OT_MATH_CONSTANT_STACK_BOTTOM_SHIFT_DOWN);
        const qreal minGap = m.constant(display ? HB_OT_MATH_CONSTANT_STACK_DISPLAY_STYLE_GAP_MIN : HB_OT_MATH_CONSTANT_STACK_GAP_MIN);
        const qreal gap = (numShift - num->descent) - (den->ascent - denShift);
        if (gap < minGap) {
            numShift += (minGap - gap) / 2;
            denShift += (minGap - gap) / 2;
        }
    }
    // Null delimiters pad a plain fraction; real ones take their place.
    const bool delimited = !atom.leftDelimiter.isEmpty() || !atom.rightDelimiter.isEmpty();
    const qreal pad = delimited ? 0 : kNullDelimiterEm * m.pixelSize();
    const qreal width = std::max(num->width, den->width);
    auto stack = std::make_unique<ListNode>();
    num->role = Role::numerator;
    den->role = Role::denominator;
    const qreal numWidth = num->width;
    const qreal denWidth = den->width;
    stack->add(std::move(num), pad + (width - numWidth) / 2, numShift);
    stack->add(std::move(den), pad + (width - denWidth) / 2, -denShift);
    if (atom.hasRule) {
        auto bar = rule(width, axis - thickness / 2, axis + thickness / 2);
        bar->role = Role::fractionRule;
        stack->add(std::move(bar), pad, 0);
    }
    stack->width = width + 2 * pad;
    if (atom.leftDelimiter.isEmpty() && atom.rightDelimiter.isEmpty())
        return stack;
    // TeX's delimiter sizes for generalized fractions: 2.39em in display style, 1.01em otherwise.
    const qreal size = (display ? 2.39 : 1.01) * m.pixelSize();
    auto result = std::make_unique<ListNode>();
    qreal x = 0;
    for (auto *part : {&atom.leftDelimiter, static_cast<const QString *>(nullptr), &atom.rightDelimiter}) {
        std::unique_ptr<DisplayNode> box = part ? delimiter(*part, size, style) : std::move(stack);
        const qreal w = box->width;
        result->add(std::move(box), x, 0);
        x += w;
    }
    result->width = x;
    return result;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::radical(const RadicalAtom &atom, Style style) const
{
    const FontMetrics &m = metrics(style);
    auto radicand = typesetList(atom.radicand, style.cramp());
    qreal gap = m.constant(style.level == Level::display ? HB_OT_MATH_CONSTANT_RADICAL_DISPLAY_STYLE_VERTICAL_GAP
                                                         : HB_OT_MATH_CONSTANT_RADICAL_VERTICAL_GAP);
    const qreal thickness = m.constant(HB_OT_MATH_CONSTANT_RADICAL_RULE_THICKNESS);
    const qreal extra = m.constant(HB_OT_MATH_CONSTANT_RADICAL_EXTRA_ASCENDER);
    const qreal needed = radicand->height() + gap + thickness;

    // The sign grows like a delimiter but sits on the radicand, not on the axis.
    auto centred = delimiter(QStringLiteral("\u221A"), needed, style);
    auto &centredList = static_cast<ListNode &>(*centred);
    auto sign = centredList.takeChild(0);
    sign->role = Role::radicalSign;
    const qreal signHeight = sign->height();
    if (signHeight > needed)
        gap += (signHeight - needed) / 2;
    const qreal ruleBottom = radicand->ascent + gap;
    const qreal signShift = ruleBottom + thickness - sign->ascent;
    const qreal signBottom = signShift - sign->descent;
    const qreal signWidth = sign->width;

    auto result = std::make_unique<ListNode>();
    qreal x = 0;
    if (atom.degree) {
        auto degree = typesetList(*atom.degree, Style{Level::scriptScript, true});
        degree->role = Role::degree;
        const qreal raise = m.percent(HB_OT_MATH_CONSTANT_RADICAL_DEGREE_BOTTOM_RAISE_PERCENT) / 100 * signHeight;
        const qreal before = m.constant(HB_OT_MATH_CONSTANT_RADICAL_KERN_BEFORE_DEGREE);
        const qreal after = m.constant(HB_OT_MATH_CONSTANT_RADICAL_KERN_AFTER_DEGREE);
        const qreal degreeWidth = degree->width;
        result->add(std::move(degree), before, signBottom + raise);
        x = std::max<qreal>(0, before + degreeWidth + after);
    }
    result->add(std::move(sign), x, signShift);
    x += signWidth;
    auto bar = rule(radicand->width, ruleBottom, ruleBottom + thickness);
    bar->role = Role::line;
    result->add(std::move(bar), x, 0);
    radicand->role = Role::radicand;
    const qreal radicandWidth = radicand->width;
    result->add(std::move(radicand), x, 0);
    result->ascent = std::max(result->ascent, ruleBottom + thickness + extra);
    result->width = x + radicandWidth;
    return result;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::largeOperator(const LargeOperatorAtom &atom, Style style, qreal &italic,
                                                                 bool &isGlyph) const
{
    italic = 0;
    isGlyph = false;
    if (atom.group)
        return typesetList(*atom.group, style);
    if (atom.named) {
        qreal ignored = 0;
        return typesetText(atom.nucleus, FontStyle::roman, style, ignored);
    }
    const FontMetrics &m = metrics(style);
    quint32 glyph = m.glyph(firstCharacter(atom.nucleus));
    if (style.level == Level::display) {
        // Display style takes the first size variant tall enough.
        const qreal minHeight = m.constant(HB_OT_MATH_CONSTANT_DISPLAY_OPERATOR_MIN_HEIGHT);
        for (const auto &variant : m.variants(glyph, true)) {
            glyph = variant.glyph;
            if (variant.size >= minHeight)
                break;
        }
    }
    italic = m.italicCorrection(glyph);
    auto box = glyphBox(glyph, style);
    box->role = Role::largeOperator;
    const qreal axis = m.constant(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    const qreal shift = axis - (box->ascent - box->descent) / 2;
    auto result = std::make_unique<ListNode>();
    const qreal w = box->width;
    result->add(std::move(box), 0, shift);
    result->width = w;
    return result;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::inner(const InnerAtom &atom, Style style) const
{
    const FontMetrics &m = metrics(style);
    std::vector<std::unique_ptr<ListNode>> parts;
    qreal ascent = 0;
    qreal descent = 0;
    for (const auto &part : atom.parts) {
        parts.push_back(typesetList(part, style));
        ascent = std::max(ascent, parts.back()->ascent);
        descent = std::max(descent, parts.back()->descent);
    }
    // TeX: cover the content symmetrically about the axis, with \delimiterfactor 901 and
    // \delimitershortfall 5pt.
    const qreal axis = m.constant(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    const qreal delta = std::max(ascent - axis, descent + axis);
    const qreal size = std::max(2 * delta * 0.901, 2 * delta - 0.5 * m.pixelSize());
    auto result = std::make_unique<ListNode>();
    qreal x = 0;
    for (qsizetype i = 0; i < atom.delimiters.size(); ++i) {
        auto d = delimiter(atom.delimiters[i], size, style);
        qreal w = d->width;
        result->add(std::move(d), x, 0);
        x += w;
        if (std::size_t(i) < parts.size()) {
            w = parts[std::size_t(i)]->width;
            result->add(std::move(parts[std::size_t(i)]), x, 0);
            x += w;
        }
    }
    result->width = x;
    return result;
}

bool Math::Typesetter::accentTakesScripts(const AccentAtom &atom)
{
    if (!atom.superscript && !atom.subscript)
        return false;
    if (atom.accentee.size() != 1)
        return false;
    const Atom &only = atom.accentee.at(0);
    return !only.group && !only.superscript && !only.subscript && only.nucleus.size() <= 2 && !only.nucleus.isEmpty()
        && only.type() == Type::ordinary;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::accent(const AccentAtom &atom, Style style) const
{
    const FontMetrics &m = metrics(style);
    // TeX hangs the scripts of an accented character on the character itself, so that the
    // accent does not lift them (rule 12 of its Appendix G).
    std::unique_ptr<ListNode> base;
    if (accentTakesScripts(atom)) {
        AtomList scripted;
        auto character = atom.accentee.at(0).clone();
        character->superscript = atom.superscript;
        character->subscript = atom.subscript;
        scripted.append(std::move(character));
        base = typesetList(scripted, style.cramp());
    } else {
        base = typesetList(atom.accentee, style.cramp());
    }
    // A single character carries its own attachment point and height; anything else is centred.
    qreal attach = base->width / 2;
    qreal baseHeight = base->ascent;
    const GlyphNode *character = nullptr;
    QPointF characterAt;
    if (base->children().size() == 1) {
        const DisplayNode *only = base->children().front().get();
        characterAt = only->position;
        if (only->kind() == DisplayNode::Kind::list && !static_cast<const ListNode *>(only)->children().empty()) {
            const auto &first = *static_cast<const ListNode *>(only)->children().front();
            characterAt += first.position;
            only = &first;
        }
        if (only->kind() == DisplayNode::Kind::glyph)
            character = static_cast<const GlyphNode *>(only);
    }
    if (character) {
        baseHeight = character->ascent + characterAt.y();
        attach = characterAt.x() + character->width / 2;
        if (const auto a = m.topAccentAttachment(character->glyph))
            attach = characterAt.x() + *a;
    }
    const char32_t c = firstCharacter(atom.nucleus);
    const quint32 glyph = m.glyph(c);
    const qreal coverWidth = character ? character->width : base->width;
    std::unique_ptr<DisplayNode> mark = atom.wide ? stretchHorizontally(glyph, coverWidth, style) : glyphBox(glyph, style);
    mark->role = Role::accent;
    qreal markAttach = mark->width / 2;
    if (mark->kind() == DisplayNode::Kind::glyph) {
        if (const auto a = m.topAccentAttachment(static_cast<const GlyphNode &>(*mark).glyph))
            markAttach = *a;
    }
    qreal shift = 0;
    if (atom.below) {
        shift = -(base->descent + m.constant(HB_OT_MATH_CONSTANT_UNDERBAR_VERTICAL_GAP) + mark->ascent);
    } else if (isCombiningMark(c)) {
        // Accents are drawn for x-height letters; taller bases lift them.
        shift = baseHeight - std::min(baseHeight, m.constant(HB_OT_MATH_CONSTANT_ACCENT_BASE_HEIGHT));
    } else {
        shift = baseHeight + m.constant(HB_OT_MATH_CONSTANT_OVERBAR_VERTICAL_GAP) + mark->descent;
    }
    if (atom.wide && mark->kind() != DisplayNode::Kind::glyph)
        attach = base->width / 2;
    auto result = std::make_unique<ListNode>();
    const qreal width = base->width;
    result->add(std::move(base), 0, 0);
    result->add(std::move(mark), attach - markAttach, shift);
    result->width = width;
    return result;
}

std::unique_ptr<Math::DisplayNode> Math::Typesetter::line(const LineAtom &atom, Style style) const
{
    const FontMetrics &m = metrics(style);
    auto inner = typesetList(atom.inner, atom.over ? style.cramp() : style);
    auto result = std::make_unique<ListNode>();
    const qreal width = inner->width;
    if (atom.over) {
        const qreal gap = m.constant(HB_OT_MATH_CONSTANT_OVERBAR_VERTICAL_GAP);
        const qreal thickness = m.constant(HB_OT_MATH_CONSTANT_OVERBAR_RULE_THICKNESS);
        const qreal bottom = inner->ascent + gap;
        auto bar = rule(width, bottom, bottom + thickness);
        bar->role = Role::line;
        result->add(std::move(inner), 0, 0);
        result->add(std::move(bar), 0, 0);
        result->ascent = bottom + thickness + m.constant(HB_OT_MATH_CONSTANT_OVERBAR_EXTRA_ASCENDER);
    } else {
        const qreal gap = m.constant(HB_OT_MATH_CONSTANT_UNDERBAR_VERTICAL_GAP);
        const qreal thickness = m.constant(HB_OT_MATH_CONSTANT_UNDERBAR_RULE_THICKNESS);
        const qreal top = -(inner->descent + gap);
        auto bar = rule(width, top - thickness, top);
        bar->role = Role::line;
        result->add(std::move(inner), 0, 0);
        result->add(std::move(bar), 0, 0);
        result->descent = -(top - thickness) + m.constant(HB_OT_MATH_CONSTANT_UNDERBAR_EXTRA_DESCENDER);
    }
    result->width = width;
    return result;
}
