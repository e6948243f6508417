#include "MathAlphabet.h"

#include <QHash>

using FontStyle = Math::Atom::FontStyle;

namespace {

bool isUpper(char32_t c) { return c >= 'A' && c <= 'Z'; }
bool isLower(char32_t c) { return c >= 'a' && c <= 'z'; }
bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool isGreekUpper(char32_t c) { return c >= 0x391 && c <= 0x3A9 && c != 0x3A2; }
bool isGreekLower(char32_t c) { return c >= 0x3B1 && c <= 0x3C9; }

// Greek symbol variants (ϵ ϑ ϰ ϕ ϱ ϖ) follow ω in each Greek math alphabet; ∂ and ∇ too.
int greekVariantIndex(char32_t c)
{
    switch (c) {
    case 0x2202: return 0; // partial
    case 0x3F5: return 1;  // lunate epsilon
    case 0x3D1: return 2;  // theta symbol
    case 0x3F0: return 3;  // kappa symbol
    case 0x3D5: return 4;  // phi symbol
    case 0x3F1: return 5;  // rho symbol
    case 0x3D6: return 6;  // pi symbol
    default: return -1;
    }
}

char32_t latin(char32_t c, char32_t upperBase, char32_t lowerBase, const QHash<char32_t, char32_t> &holes)
{
    if (auto it = holes.constFind(c); it != holes.constEnd())
        return it.value();
    if (isUpper(c))
        return upperBase + (c - 'A');
    if (isLower(c) && lowerBase)
        return lowerBase + (c - 'a');
    return c;
}

char32_t greek(char32_t c, char32_t base)
{
    // Each Greek math alphabet: Α..Ω (25 with the ϴ slot), ∇, α..ω, then the variants.
    if (isGreekUpper(c))
        return base + (c - 0x391);
    if (c == 0x2207)
        return base + 25;
    if (isGreekLower(c))
        return base + 26 + (c - 0x3B1);
    if (const int v = greekVariantIndex(c); v >= 0)
        return base + 26 + 25 + v;
    return c;
}

} // namespace

char32_t MathAlphabet::styled(char32_t c, FontStyle style)
{
    static const QHash<char32_t, char32_t> none;
    static const QHash<char32_t, char32_t> italicHoles = {{'h', 0x210E}};
    static const QHash<char32_t, char32_t> scriptHoles = {
        {'B', 0x212C}, {'E', 0x2130}, {'F', 0x2131}, {'H', 0x210B}, {'I', 0x2110}, {'L', 0x2112},
        {'M', 0x2133}, {'R', 0x211B}, {'e', 0x212F}, {'g', 0x210A}, {'o', 0x2134},
    };
    static const QHash<char32_t, char32_t> frakturHoles = {
        {'C', 0x212D}, {'H', 0x210C}, {'I', 0x2111}, {'R', 0x211C}, {'Z', 0x2128},
    };
    static const QHash<char32_t, char32_t> doubleStruckHoles = {
        {'C', 0x2102}, {'H', 0x210D}, {'N', 0x2115}, {'P', 0x2119}, {'Q', 0x211A}, {'R', 0x211D}, {'Z', 0x2124},
    };
    switch (style) {
    case FontStyle::defaultStyle:
        // TeX: Latin letters and lower-case Greek in italic, capital Greek upright.
        if (isUpper(c) || isLower(c))
            return latin(c, 0x1D434, 0x1D44E, italicHoles);
        if (isGreekLower(c) || greekVariantIndex(c) >= 0)
            return greek(c, 0x1D6E2);
        return c;
    case FontStyle::italic:
        if (isUpper(c) || isLower(c))
            return latin(c, 0x1D434, 0x1D44E, italicHoles);
        return greek(c, 0x1D6E2);
    case FontStyle::bold:
        if (isDigit(c))
            return 0x1D7CE + (c - '0');
        if (isUpper(c) || isLower(c))
            return latin(c, 0x1D400, 0x1D41A, none);
        return greek(c, 0x1D6A8);
    case FontStyle::calligraphic:
        return latin(c, 0x1D49C, 0x1D4B6, scriptHoles);
    case FontStyle::fraktur:
        return latin(c, 0x1D504, 0x1D51E, frakturHoles);
    case FontStyle::blackboard:
        if (isDigit(c))
            return 0x1D7D8 + (c - '0');
        return latin(c, 0x1D538, 0x1D552, doubleStruckHoles);
    case FontStyle::sansSerif:
        if (isDigit(c))
            return 0x1D7E2 + (c - '0');
        return latin(c, 0x1D5A0, 0x1D5BA, none);
    case FontStyle::typewriter:
        if (isDigit(c))
            return 0x1D7F6 + (c - '0');
        return latin(c, 0x1D670, 0x1D68A, none);
    case FontStyle::roman:
    case FontStyle::text:
        return c;
    }
    return c;
}
