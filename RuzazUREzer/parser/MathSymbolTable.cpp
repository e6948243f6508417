#include "MathSymbolTable.h"

namespace {

using Type = Math::Atom::Type;

struct Entry {
    const char *name;
    char32_t code;
};

// The first name of a code point is the one the writer uses.
constexpr Entry kOrdinary[] = {
    // Greek; upper-case letters are upright, lower-case ones math italic (chosen when drawn).
    {"alpha", 0x3B1}, {"beta", 0x3B2}, {"gamma", 0x3B3}, {"delta", 0x3B4}, {"epsilon", 0x3F5},
    {"varepsilon", 0x3B5}, {"zeta", 0x3B6}, {"eta", 0x3B7}, {"theta", 0x3B8}, {"vartheta", 0x3D1},
    {"iota", 0x3B9}, {"kappa", 0x3BA}, {"varkappa", 0x3F0}, {"lambda", 0x3BB}, {"mu", 0x3BC},
    {"nu", 0x3BD}, {"xi", 0x3BE}, {"omicron", 0x3BF}, {"pi", 0x3C0}, {"varpi", 0x3D6}, {"rho", 0x3C1},
    {"varrho", 0x3F1}, {"sigma", 0x3C3}, {"varsigma", 0x3C2}, {"tau", 0x3C4}, {"upsilon", 0x3C5},
    {"phi", 0x3D5}, {"varphi", 0x3C6}, {"chi", 0x3C7}, {"psi", 0x3C8}, {"omega", 0x3C9},
    {"Gamma", 0x393}, {"Delta", 0x394}, {"Theta", 0x398}, {"Lambda", 0x39B}, {"Xi", 0x39E},
    {"Pi", 0x3A0}, {"Sigma", 0x3A3}, {"Upsilon", 0x3A5}, {"Phi", 0x3A6}, {"Psi", 0x3A8},
    {"Omega", 0x3A9},
    // Miscellaneous symbols.
    {"infty", 0x221E}, {"partial", 0x2202}, {"nabla", 0x2207}, {"hbar", 0x210F}, {"hslash", 0x210F},
    {"ell", 0x2113}, {"wp", 0x2118}, {"Re", 0x211C}, {"Im", 0x2111}, {"aleph", 0x2135},
    {"beth", 0x2136}, {"gimel", 0x2137}, {"emptyset", 0x2205}, {"varnothing", 0x2205},
    {"forall", 0x2200}, {"exists", 0x2203}, {"nexists", 0x2204}, {"neg", 0xAC}, {"lnot", 0xAC},
    {"prime", 0x2032}, {"backprime", 0x2035}, {"angle", 0x2220}, {"triangle", 0x25B3},
    {"bot", 0x22A5}, {"top", 0x22A4}, {"surd", 0x221A}, {"flat", 0x266D}, {"natural", 0x266E},
    {"sharp", 0x266F}, {"clubsuit", 0x2663}, {"diamondsuit", 0x2662}, {"heartsuit", 0x2661},
    {"spadesuit", 0x2660}, {"imath", 0x1D6A4}, {"jmath", 0x1D6A5}, {"ldots", 0x2026},
    {"dots", 0x2026}, {"dotsc", 0x2026}, {"dotso", 0x2026}, {"vdots", 0x22EE}, {"ddots", 0x22F1},
    {"Box", 0x25A1}, {"square", 0x25A1}, {"Diamond", 0x25C7}, {"mho", 0x2127}, {"eth", 0xF0},
    {"S", 0xA7}, {"P", 0xB6}, {"dag", 0x2020}, {"ddag", 0x2021}, {"checkmark", 0x2713},
    {"infinity", 0x221E}, {"degree", 0xB0}, {"complement", 0x2201}, {"Finv", 0x2132},
    {"Game", 0x2141}, {"diagup", 0x2571}, {"diagdown", 0x2572}, {"blacksquare", 0x25A0},
    {"lozenge", 0x25CA}, {"blacklozenge", 0x29EB}, {"bigstar", 0x2605}, {"slash", 0x2F},
    {"backslash", 0x5C}, {"vert", 0x7C}, {"|", 0x2016}, {"Vert", 0x2016}, {"$", 0x24},
    {"%", 0x25}, {"&", 0x26}, {"#", 0x23}, {"_", 0x5F}, {"colon", 0x3A},
};

constexpr Entry kBinary[] = {
    {"pm", 0xB1}, {"mp", 0x2213}, {"times", 0xD7}, {"div", 0xF7}, {"ast", 0x2217}, {"star", 0x22C6},
    {"circ", 0x2218}, {"bullet", 0x2219}, {"cdot", 0x22C5}, {"cap", 0x2229}, {"cup", 0x222A},
    {"uplus", 0x228E}, {"sqcap", 0x2293}, {"sqcup", 0x2294}, {"vee", 0x2228}, {"lor", 0x2228},
    {"wedge", 0x2227}, {"land", 0x2227}, {"setminus", 0x2216}, {"smallsetminus", 0x2216},
    {"wr", 0x2240}, {"diamond", 0x22C4}, {"bigtriangleup", 0x25B3}, {"bigtriangledown", 0x25BD},
    {"triangleleft", 0x25C1}, {"triangleright", 0x25B7}, {"lhd", 0x22B2}, {"rhd", 0x22B3},
    {"unlhd", 0x22B4}, {"unrhd", 0x22B5}, {"oplus", 0x2295}, {"ominus", 0x2296},
    {"otimes", 0x2297}, {"oslash", 0x2298}, {"odot", 0x2299}, {"bigcirc", 0x25EF},
    {"dagger", 0x2020}, {"ddagger", 0x2021}, {"amalg", 0x2A3F}, {"cdotp", 0x22C5},
    {"centerdot", 0x22C5}, {"ltimes", 0x22C9}, {"rtimes", 0x22CA}, {"boxplus", 0x229E},
    {"boxminus", 0x229F}, {"boxtimes", 0x22A0}, {"boxdot", 0x22A1}, {"dotplus", 0x2214},
    {"intercal", 0x22BA}, {"barwedge", 0x22BC}, {"veebar", 0x22BB}, {"curlywedge", 0x22CF},
    {"curlyvee", 0x22CE},
};

constexpr Entry kRelation[] = {
    {"leq", 0x2264}, {"le", 0x2264}, {"geq", 0x2265}, {"ge", 0x2265}, {"neq", 0x2260}, {"ne", 0x2260},
    {"equiv", 0x2261}, {"approx", 0x2248}, {"approxeq", 0x224A}, {"sim", 0x223C}, {"simeq", 0x2243},
    {"cong", 0x2245}, {"ll", 0x226A}, {"gg", 0x226B}, {"lll", 0x22D8}, {"ggg", 0x22D9},
    {"prec", 0x227A}, {"succ", 0x227B}, {"preceq", 0x2AAF}, {"succeq", 0x2AB0},
    {"subset", 0x2282}, {"supset", 0x2283}, {"subseteq", 0x2286}, {"supseteq", 0x2287},
    {"subsetneq", 0x228A}, {"supsetneq", 0x228B}, {"sqsubset", 0x228F}, {"sqsupset", 0x2290},
    {"sqsubseteq", 0x2291}, {"sqsupseteq", 0x2292}, {"in", 0x2208}, {"ni", 0x220B},
    {"owns", 0x220B}, {"notin", 0x2209}, {"vdash", 0x22A2}, {"dashv", 0x22A3}, {"models", 0x22A7},
    {"perp", 0x27C2}, {"mid", 0x2223}, {"nmid", 0x2224}, {"parallel", 0x2225},
    {"nparallel", 0x2226}, {"propto", 0x221D}, {"asymp", 0x224D}, {"bowtie", 0x22C8},
    {"Join", 0x2A1D}, {"smile", 0x2323}, {"frown", 0x2322}, {"doteq", 0x2250}, {"lesssim", 0x2272},
    {"gtrsim", 0x2273}, {"leqslant", 0x2A7D}, {"geqslant", 0x2A7E}, {"triangleq", 0x225C},
    {"vDash", 0x22A8}, {"Vdash", 0x22A9}, {"therefore", 0x2234}, {"because", 0x2235},
    {"coloneqq", 0x2254}, {"lneq", 0x2A87}, {"gneq", 0x2A88}, {"nless", 0x226E},
    {"ngtr", 0x226F}, {"nleq", 0x2270}, {"ngeq", 0x2271}, {"nsim", 0x2241}, {"ncong", 0x2247},
    {"nsubseteq", 0x2288}, {"nsupseteq", 0x2289}, {"lessgtr", 0x2276}, {"gtrless", 0x2277},
    {"between", 0x226C}, {"pitchfork", 0x22D4}, {"backsim", 0x223D}, {"eqsim", 0x2242},
    // Arrows are relations.
    {"leftarrow", 0x2190}, {"gets", 0x2190}, {"rightarrow", 0x2192}, {"to", 0x2192},
    {"leftrightarrow", 0x2194}, {"uparrow", 0x2191}, {"downarrow", 0x2193}, {"updownarrow", 0x2195},
    {"Leftarrow", 0x21D0}, {"Rightarrow", 0x21D2}, {"Leftrightarrow", 0x21D4}, {"Uparrow", 0x21D1},
    {"Downarrow", 0x21D3}, {"Updownarrow", 0x21D5}, {"longleftarrow", 0x27F5},
    {"longrightarrow", 0x27F6}, {"longleftrightarrow", 0x27F7}, {"Longleftarrow", 0x27F8},
    {"Longrightarrow", 0x27F9}, {"implies", 0x27F9}, {"Longleftrightarrow", 0x27FA},
    {"iff", 0x27FA}, {"mapsto", 0x21A6}, {"longmapsto", 0x27FC}, {"hookleftarrow", 0x21A9},
    {"hookrightarrow", 0x21AA}, {"leftharpoonup", 0x21BC}, {"leftharpoondown", 0x21BD},
    {"rightharpoonup", 0x21C0}, {"rightharpoondown", 0x21C1}, {"rightleftharpoons", 0x21CC},
    {"leftrightharpoons", 0x21CB}, {"nearrow", 0x2197}, {"searrow", 0x2198}, {"swarrow", 0x2199},
    {"nwarrow", 0x2196}, {"leadsto", 0x21DD}, {"rightsquigarrow", 0x21DD},
    {"leftleftarrows", 0x21C7}, {"rightrightarrows", 0x21C9}, {"leftrightarrows", 0x21C6},
    {"rightleftarrows", 0x21C4}, {"twoheadrightarrow", 0x21A0}, {"twoheadleftarrow", 0x219E},
    {"upharpoonright", 0x21BE}, {"downharpoonright", 0x21C2}, {"nleftarrow", 0x219A},
    {"nrightarrow", 0x219B}, {"nLeftarrow", 0x21CD}, {"nRightarrow", 0x21CF},
    {"circlearrowleft", 0x21BA}, {"circlearrowright", 0x21BB}, {"curvearrowleft", 0x21B6},
    {"curvearrowright", 0x21B7}, {"Lsh", 0x21B0}, {"Rsh", 0x21B1},
};

constexpr Entry kPunctuation[] = {{"ldotp", 0x2E}};
constexpr Entry kInner[] = {{"cdots", 0x22EF}, {"dotsb", 0x22EF}, {"dotsm", 0x22EF}, {"dotsi", 0x22EF}};

constexpr Entry kDelimiters[] = {
    {"(", 0x28}, {")", 0x29}, {"[", 0x5B}, {"]", 0x5D}, {"\\lbrack", 0x5B}, {"\\rbrack", 0x5D},
    {"\\{", 0x7B}, {"\\}", 0x7D}, {"\\lbrace", 0x7B}, {"\\rbrace", 0x7D}, {"\\langle", 0x27E8},
    {"\\rangle", 0x27E9}, {"<", 0x27E8}, {">", 0x27E9}, {"\\lfloor", 0x230A}, {"\\rfloor", 0x230B},
    {"\\lceil", 0x2308}, {"\\rceil", 0x2309}, {"|", 0x7C}, {"\\vert", 0x7C}, {"\\lvert", 0x7C},
    {"\\rvert", 0x7C}, {"\\|", 0x2016}, {"\\Vert", 0x2016}, {"\\lVert", 0x2016}, {"\\rVert", 0x2016},
    {"/", 0x2F}, {"\\backslash", 0x5C}, {"\\uparrow", 0x2191}, {"\\downarrow", 0x2193},
    {"\\updownarrow", 0x2195}, {"\\Uparrow", 0x21D1}, {"\\Downarrow", 0x21D3}, {"\\Updownarrow", 0x21D5},
    {"\\lgroup", 0x27EE}, {"\\rgroup", 0x27EF}, {"\\llbracket", 0x27E6}, {"\\rrbracket", 0x27E7},
    {"\\ulcorner", 0x231C}, {"\\urcorner", 0x231D}, {"\\llcorner", 0x231E}, {"\\lrcorner", 0x231F},
};

struct OperatorEntry {
    const char *name;
    char32_t code; // 0 for a named function, which is written as its own name
    bool limits;
};

constexpr OperatorEntry kOperators[] = {
    {"sum", 0x2211, true}, {"prod", 0x220F, true}, {"coprod", 0x2210, true},
    {"int", 0x222B, false}, {"iint", 0x222C, false}, {"iiint", 0x222D, false},
    {"oint", 0x222E, false}, {"oiint", 0x222F, false}, {"bigcap", 0x22C2, true},
    {"bigcup", 0x22C3, true}, {"bigvee", 0x22C1, true}, {"bigwedge", 0x22C0, true},
    {"bigodot", 0x2A00, true}, {"bigoplus", 0x2A01, true}, {"bigotimes", 0x2A02, true},
    {"biguplus", 0x2A04, true}, {"bigsqcup", 0x2A06, true}, {"smallint", 0x222B, false},
    {"lim", 0, true}, {"limsup", 0, true}, {"liminf", 0, true}, {"max", 0, true}, {"min", 0, true},
    {"sup", 0, true}, {"inf", 0, true}, {"det", 0, true}, {"Pr", 0, true}, {"gcd", 0, true},
    {"sin", 0, false}, {"cos", 0, false}, {"tan", 0, false}, {"cot", 0, false}, {"sec", 0, false},
    {"csc", 0, false}, {"arcsin", 0, false}, {"arccos", 0, false}, {"arctan", 0, false},
    {"sinh", 0, false}, {"cosh", 0, false}, {"tanh", 0, false}, {"coth", 0, false},
    {"exp", 0, false}, {"log", 0, false}, {"ln", 0, false}, {"lg", 0, false}, {"arg", 0, false},
    {"deg", 0, false}, {"dim", 0, false}, {"hom", 0, false}, {"ker", 0, false}, {"sgn", 0, false},
    {"Tr", 0, false}, {"tr", 0, false},
};

struct AccentEntry {
    const char *name;
    char32_t code;
    bool wide;
    bool below;
};

constexpr AccentEntry kAccents[] = {
    {"hat", 0x302, false, false}, {"check", 0x30C, false, false}, {"tilde", 0x303, false, false},
    {"acute", 0x301, false, false}, {"grave", 0x300, false, false}, {"dot", 0x307, false, false},
    {"ddot", 0x308, false, false}, {"dddot", 0x20DB, false, false}, {"breve", 0x306, false, false},
    {"bar", 0x304, false, false}, {"vec", 0x20D7, false, false}, {"mathring", 0x30A, false, false},
    {"widehat", 0x302, true, false}, {"widetilde", 0x303, true, false},
    {"widecheck", 0x30C, true, false}, {"overrightarrow", 0x2192, true, false},
    {"overleftarrow", 0x2190, true, false}, {"overleftrightarrow", 0x2194, true, false},
    {"overbrace", 0x23DE, true, false}, {"underbrace", 0x23DF, true, true},
    {"underrightarrow", 0x2192, true, true}, {"underleftarrow", 0x2190, true, true},
};

QString fromCode(char32_t code)
{
    return QString::fromUcs4(&code, 1);
}

} // namespace

const Math::SymbolTable &Math::SymbolTable::shared()
{
    static const SymbolTable table;
    return table;
}

Math::SymbolTable::SymbolTable()
{
    auto add = [this](const auto &entries, Type type) {
        for (const Entry &e : entries) {
            const QString name = QString::fromLatin1(e.name);
            const QString nucleus = fromCode(e.code);
            m_symbols.insert(name, Symbol{type, nucleus});
            if (!m_symbolCommands.contains(nucleus))
                m_symbolCommands.insert(nucleus, name);
            if (!m_typedSymbolCommands.contains({int(type), nucleus}))
                m_typedSymbolCommands.insert({int(type), nucleus}, name);
        }
    };
    add(kOrdinary, Type::ordinary);
    add(kBinary, Type::binary);
    add(kRelation, Type::relation);
    add(kPunctuation, Type::punctuation);
    add(kInner, Type::inner);
    for (const Entry &e : kDelimiters) {
        const QString name = QString::fromLatin1(e.name);
        const QString character = fromCode(e.code);
        m_delimiters.insert(name, character);
        if (name.startsWith(QLatin1Char('\\')) && !m_delimiterCommands.contains(character))
            m_delimiterCommands.insert(character, name);
    }
    // Delimiters used alone are symbols too, opening or closing.
    const char *const openers[] = {"lbrack", "lbrace", "{", "langle", "lfloor", "lceil", "lgroup", "llbracket", "lvert", "lVert"};
    const char *const closers[] = {"rbrack", "rbrace", "}", "rangle", "rfloor", "rceil", "rgroup", "rrbracket", "rvert", "rVert"};
    const auto addDelimiterSymbols = [this](const auto &names, Type type) {
        for (const char *n : names) {
            const QString name = QString::fromLatin1(n);
            const QString nucleus = m_delimiters.value(QLatin1Char('\\') + name);
            m_symbols.insert(name, Symbol{type, nucleus});
            if (!m_typedSymbolCommands.contains({int(type), nucleus}))
                m_typedSymbolCommands.insert({int(type), nucleus}, name);
        }
    };
    addDelimiterSymbols(openers, Type::open);
    addDelimiterSymbols(closers, Type::close);
    for (const char *n : {"lbrace", "rbrace", "langle", "rangle", "lfloor", "rfloor", "lceil", "rceil"}) {
        const QString name = QString::fromLatin1(n);
        m_symbolCommands.insert(m_symbols.value(name).nucleus, name);
    }
    for (const OperatorEntry &e : kOperators) {
        const QString name = QString::fromLatin1(e.name);
        const bool named = e.code == 0;
        const QString nucleus = named ? name : fromCode(e.code);
        m_operators.insert(name, Operator{nucleus, named, e.limits});
        if (!m_operatorCommands.contains(nucleus))
            m_operatorCommands.insert(nucleus, name);
    }
    for (const AccentEntry &e : kAccents)
        m_accents.insert(QString::fromLatin1(e.name), Accent{fromCode(e.code), e.wide, e.below});
}

const Math::SymbolTable::Symbol *Math::SymbolTable::symbol(const QString &command) const
{
    auto it = m_symbols.constFind(command);
    return it == m_symbols.constEnd() ? nullptr : &it.value();
}

const Math::SymbolTable::Operator *Math::SymbolTable::largeOperator(const QString &command) const
{
    auto it = m_operators.constFind(command);
    return it == m_operators.constEnd() ? nullptr : &it.value();
}

const Math::SymbolTable::Accent *Math::SymbolTable::accent(const QString &command) const
{
    auto it = m_accents.constFind(command);
    return it == m_accents.constEnd() ? nullptr : &it.value();
}

const QString *Math::SymbolTable::delimiter(const QString &name) const
{
    static const QString nullDelimiter;
    if (name == QLatin1String("."))
        return &nullDelimiter;
    auto it = m_delimiters.constFind(name);
    return it == m_delimiters.constEnd() ? nullptr : &it.value();
}

Math::Atom::Type Math::SymbolTable::typeOfCharacter(QChar c)
{
    switch (c.unicode()) {
    case '+': case '-': case '*':
        return Type::binary;
    case '=': case '<': case '>': case ':':
        return Type::relation;
    case ',': case ';':
        return Type::punctuation;
    case '(': case '[':
        return Type::open;
    case ')': case ']': case '!': case '?':
        return Type::close;
    default:
        return Type::ordinary;
    }
}

QString Math::SymbolTable::commandForSymbol(const QString &nucleus) const
{
    return m_symbolCommands.value(nucleus);
}

QString Math::SymbolTable::commandForSymbol(const QString &nucleus, Atom::Type type) const
{
    const QString typed = m_typedSymbolCommands.value({int(type), nucleus});
    return typed.isEmpty() ? commandForSymbol(nucleus) : typed;
}

namespace {

// Relations that have a negated character of their own.
const QHash<QString, QString> &negations()
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("="), QStringLiteral("\u2260")}, {QStringLiteral("\u2208"), QStringLiteral("\u2209")},
        {QStringLiteral("\u2261"), QStringLiteral("\u2262")}, {QStringLiteral("<"), QStringLiteral("\u226E")},
        {QStringLiteral(">"), QStringLiteral("\u226F")}, {QStringLiteral("\u2264"), QStringLiteral("\u2270")},
        {QStringLiteral("\u2265"), QStringLiteral("\u2271")}, {QStringLiteral("\u223C"), QStringLiteral("\u2241")},
        {QStringLiteral("\u2248"), QStringLiteral("\u2249")}, {QStringLiteral("\u2282"), QStringLiteral("\u2284")},
        {QStringLiteral("\u2283"), QStringLiteral("\u2285")}, {QStringLiteral("\u2286"), QStringLiteral("\u2288")},
        {QStringLiteral("\u2287"), QStringLiteral("\u2289")}, {QStringLiteral("\u2245"), QStringLiteral("\u2247")},
        {QStringLiteral("\u2243"), QStringLiteral("\u2244")}, {QStringLiteral("\u2225"), QStringLiteral("\u2226")},
        {QStringLiteral("\u2223"), QStringLiteral("\u2224")}, {QStringLiteral("\u220B"), QStringLiteral("\u220C")},
    };
    return table;
}

constexpr QChar kCombiningSolidus(0x338);

} // namespace

QString Math::SymbolTable::negated(const QString &nucleus)
{
    return negations().value(nucleus, nucleus + kCombiningSolidus);
}

QString Math::SymbolTable::unnegated(const QString &nucleus)
{
    static const auto bases = [] {
        QHash<QString, QString> reverse;
        for (auto it = negations().constBegin(); it != negations().constEnd(); ++it)
            reverse.insert(it.value(), it.key());
        return reverse;
    }();
    if (const auto it = bases.constFind(nucleus); it != bases.constEnd())
        return it.value();
    return nucleus.size() > 1 && nucleus.endsWith(kCombiningSolidus) ? nucleus.chopped(1) : QString();
}

QString Math::SymbolTable::commandForOperator(const QString &nucleus) const
{
    return m_operatorCommands.value(nucleus);
}

QString Math::SymbolTable::commandForDelimiter(const QString &character) const
{
    return m_delimiterCommands.value(character);
}
