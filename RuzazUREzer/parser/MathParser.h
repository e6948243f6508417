#pragma once

#include "MathAtom.h"
#include "MathParserError.h"

#include <QString>

// Turns the LaTeX of one formula into atoms. Covers TeX's and LaTeX's math commands (symbols,
// scripts, fractions in both syntaxes, radicals, operators, \left/\middle/\right and \big,
// accents, font styles, text, spacing, styles and the array-like environments) and fails with a
// ParserError on anything else rather than guessing. \label, \tag and \nonumber are accepted and
// dropped.
class Math::Parser {
public:
    // Groups, arguments and environments nested deeper than this are refused, which bounds the
    // recursion of parsing and typesetting whatever the input.
    static constexpr int maxDepth = 48;
    static constexpr qsizetype maxLength = 100000;
    // Explicit spaces up to 1000 em.
    static constexpr qreal maxSpaceMu = 18000;

    explicit Parser(QString text);
    // Throws ParserError.
    AtomList parse();

    static AtomList parse(const QString &text) { return Parser(text).parse(); }

private:
    enum Stop : unsigned {
        atBrace = 1,
        atRight = 2,
        atAlignment = 4,
        atBracket = 8,
    };
    enum class Terminator { end, closeBrace, right, middle, alignment, rowBreak, endEnvironment, closeBracket };

    AtomList parseList(unsigned stops);
    // Reads one token into list; false when a terminator allowed by stops ends the list.
    bool parseOne(AtomList &list, unsigned stops);
    void parseCommand(AtomList &list, const QString &name, qsizetype start);
    bool parseSymbolCommand(AtomList &list, const QString &name);
    bool parseSpacingCommand(AtomList &list, const QString &name);
    bool parseIgnoredCommand(const QString &name);
    bool parseFontCommand(AtomList &list, const QString &name);
    bool parseStructureCommand(AtomList &list, const QString &name, qsizetype start);
    void parseScript(AtomList &list, bool superscript, qsizetype start);
    void parsePrimes(AtomList &list);
    AtomList parseArgument(const QString &forWhat);
    std::optional<AtomList> parseOptionalArgument();
    QString parseRawArgument(const QString &forWhat);
    QString parseDelimiter(const QString &forWhat);
    void parseLeftRight(AtomList &list);
    void parseEnvironment(AtomList &list, qsizetype start);
    void parseTableBody(TableAtom &table, bool plainTeX, const QString &environment, qsizetype start);
    // base: offset of text within the formula, for error messages.
    void parseText(AtomList &list, const QString &text, qsizetype base);
    qreal parseDimension(const QString &forWhat);
    QString readCommandName();
    bool isGeneralizedFraction() const;
    void skipSpaces();
    void skipBracket();
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void enter(qsizetype at);
    void leave() { --m_depth; }
    [[noreturn]] void fail(ParserError::Code code, const QString &what, qsizetype at) const;

    QString m_text;
    qsizetype m_pos = 0;
    int m_depth = 0;
    Terminator m_terminator = Terminator::end;
    qsizetype m_terminatorStart = 0;
    Atom::FontStyle m_fontStyle = Atom::FontStyle::defaultStyle;
    // The atom whose superscript so far holds only primes, so that x'^2 joins them.
    const Atom *m_primed = nullptr;
};
