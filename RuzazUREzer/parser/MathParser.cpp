#include "MathParser.h"

#include "MathAtomKinds.h"
#include "MathSymbolTable.h"

#include <QHash>

#include <cmath>

using Code = Math::ParserError::Code;
using Type = Math::Atom::Type;
using FontStyle = Math::Atom::FontStyle;

namespace {

bool isLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// Restores a saved value when a group ends, whichever way it ends.
template<typename T>
class Restore {
public:
    explicit Restore(T &ref) : m_ref(ref), m_saved(ref) {}
    ~Restore() { m_ref = m_saved; }
    Restore(const Restore &) = delete;
    Restore &operator=(const Restore &) = delete;

private:
    T &m_ref;
    T m_saved;
};

} // namespace

Math::Parser::Parser(QString text) : m_text(std::move(text)) {}

Math::AtomList Math::Parser::parse()
{
    if (m_text.size() > maxLength)
        fail(Code::tooLong, QStringLiteral("Formula longer than %1 characters").arg(maxLength), maxLength);
    m_pos = 0;
    m_depth = 0;
    // Several lines (\\) at the top level, as a note's math block may hold, are set as
    // centred rows, or as aligned ones when they use &.
    auto table = std::make_unique<TableAtom>(QStringLiteral("gathered"));
    parseTableBody(*table, false, QString(), 0);
    if (table->rows.empty())
        return AtomList();
    if (table->rows.size() == 1 && table->rows.front().size() == 1)
        return std::move(table->rows.front().front());
    if (table->columnCount() > 1) {
        table->environment = QStringLiteral("aligned");
        table->alignments = QStringLiteral("rl");
    } else {
        table->alignments = QStringLiteral("c");
    }
    AtomList list;
    list.append(std::move(table));
    return list;
}

void Math::Parser::fail(ParserError::Code code, const QString &what, qsizetype at) const
{
    throw ParserError(code, what, m_text, at);
}

void Math::Parser::enter(qsizetype at)
{
    if (++m_depth > maxDepth)
        fail(Code::tooDeeplyNested, QStringLiteral("Groups nested deeper than %1 levels").arg(maxDepth), at);
}

void Math::Parser::skipSpaces()
{
    while (!atEnd()) {
        const QChar c = m_text[m_pos];
        if (c.isSpace()) {
            ++m_pos;
        } else if (c == QLatin1Char('%')) {
            // A comment runs to the end of its line.
            while (!atEnd() && m_text[m_pos] != QLatin1Char('\n'))
                ++m_pos;
        } else {
            break;
        }
    }
}

bool Math::Parser::isGeneralizedFraction() const
{
    // Peeks without allocating: this runs before every command.
    qsizetype end = m_pos + 1;
    while (end < m_text.size() && isLetter(m_text[end]))
        ++end;
    const QStringView name = QStringView(m_text).mid(m_pos + 1, end - m_pos - 1);
    return name == u"over" || name == u"atop" || name == u"choose" || name == u"brack" || name == u"brace";
}

QString Math::Parser::readCommandName()
{
    // m_pos is just past the backslash.
    if (atEnd())
        return {};
    const qsizetype start = m_pos;
    if (isLetter(m_text[m_pos])) {
        while (!atEnd() && isLetter(m_text[m_pos]))
            ++m_pos;
    } else {
        ++m_pos;
    }
    return m_text.mid(start, m_pos - start);
}

Math::AtomList Math::Parser::parseList(unsigned stops)
{
    enter(m_pos);
    Restore<FontStyle> restoreFont(m_fontStyle);
    AtomList list;
    // \over and its kin split the list into numerator and denominator.
    std::unique_ptr<FractionAtom> fraction;
    m_terminator = Terminator::end;
    while (true) {
        const qsizetype before = m_pos;
        skipSpaces();
        if (!atEnd() && m_text[m_pos] == QLatin1Char('\\') && isGeneralizedFraction()) {
            const qsizetype start = m_pos;
            ++m_pos;
            const QString name = readCommandName();
            static const QHash<QString, std::pair<QString, QString>> generalized = {
                {QStringLiteral("over"), {QString(), QString()}},
                {QStringLiteral("atop"), {QString(), QString()}},
                {QStringLiteral("choose"), {QStringLiteral("("), QStringLiteral(")")}},
                {QStringLiteral("brack"), {QStringLiteral("["), QStringLiteral("]")}},
                {QStringLiteral("brace"), {QStringLiteral("{"), QStringLiteral("}")}},
            };
            auto it = generalized.constFind(name);
            if (it != generalized.constEnd()) {
                if (fraction)
                    fail(Code::ambiguousFraction, QStringLiteral("Second \\%1 in one group; add braces").arg(name), start);
                fraction = std::make_unique<FractionAtom>();
                fraction->command = name;
                fraction->hasRule = name == QLatin1String("over");
                fraction->leftDelimiter = it->first;
                fraction->rightDelimiter = it->second;
                fraction->numerator = std::move(list);
                list = AtomList();
                m_primed = nullptr;
                continue;
            }
            m_pos = before;
        }
        m_pos = before;
        if (!parseOne(list, stops))
            break;
    }
    if (fraction) {
        fraction->denominator = std::move(list);
        list = AtomList();
        list.append(std::move(fraction));
    }
    leave();
    return list;
}

bool Math::Parser::parseOne(AtomList &list, unsigned stops)
{
    skipSpaces();
    if (atEnd()) {
        m_terminator = Terminator::end;
        return false;
    }
    const qsizetype start = m_pos;
    const QChar c = m_text[m_pos++];
    switch (c.unicode()) {
    case '{': {
        AtomList inner = parseList(atBrace);
        if (m_terminator != Terminator::closeBrace)
            fail(Code::missingCloseBrace, QStringLiteral("Missing } for the { opened"), start);
        auto atom = std::make_unique<OrdinaryAtom>();
        atom->group = std::move(inner);
        list.append(std::move(atom));
        m_primed = nullptr;
        return true;
    }
    case '}':
        if (stops & atBrace) {
            m_terminator = Terminator::closeBrace;
            return false;
        }
        fail(Code::unexpectedCloseBrace, QStringLiteral("Unmatched }"), start);
    case ']':
        if (stops & atBracket) {
            m_terminator = Terminator::closeBracket;
            return false;
        }
        break;
    case '&':
        if (stops & atAlignment) {
            m_terminator = Terminator::alignment;
            return false;
        }
        fail(Code::misplacedAlignment, QStringLiteral("& outside a matrix or array"), start);
    case '^':
        parseScript(list, true, start);
        return true;
    case '_':
        parseScript(list, false, start);
        return true;
    case '\'':
        --m_pos;
        parsePrimes(list);
        return true;
    case '~':
        list.append(std::make_unique<SpaceAtom>(6, QStringLiteral("~")));
        return true;
    case '$':
        // Stray math shifts (from text pasted out of a document) carry no meaning here.
        return true;
    case '\\': {
        QString name = readCommandName();
        // As in TeX, a backslash that ends the input ends its line too: a control space.
        if (name.isEmpty())
            name = QStringLiteral("\n");
        if ((name == QLatin1String("\\") || name == QLatin1String("cr")) && (stops & atAlignment)) {
            m_terminator = Terminator::rowBreak;
            m_terminatorStart = start;
            return false;
        }
        if (name == QLatin1String("end") && (stops & atAlignment)) {
            m_terminator = Terminator::endEnvironment;
            m_terminatorStart = start;
            return false;
        }
        if ((name == QLatin1String("right") || name == QLatin1String("middle")) && (stops & atRight)) {
            m_terminator = name == QLatin1String("right") ? Terminator::right : Terminator::middle;
            m_terminatorStart = start;
            return false;
        }
        parseCommand(list, name, start);
        return true;
    }
    default:
        break;
    }
    auto atom = std::make_unique<Atom>(SymbolTable::typeOfCharacter(c), QString(c));
    if (c.isHighSurrogate() && !atEnd() && m_text[m_pos].isLowSurrogate())
        atom->nucleus.append(m_text[m_pos++]);
    atom->fontStyle = m_fontStyle;
    list.append(std::move(atom));
    m_primed = nullptr;
    return true;
}

void Math::Parser::parseScript(AtomList &list, bool superscript, qsizetype start)
{
    Atom *base = list.last();
    const bool joinPrimes = superscript && base && base == m_primed;
    if (!base || base->type() == Type::space || base->type() == Type::style) {
        list.append(std::make_unique<OrdinaryAtom>());
        base = list.last();
    }
    if (superscript && base->superscript && !joinPrimes)
        fail(Code::doubleSuperscript, QStringLiteral("Double superscript"), start);
    if (!superscript && base->subscript)
        fail(Code::doubleSubscript, QStringLiteral("Double subscript"), start);
    AtomList script = parseArgument(superscript ? QStringLiteral("^") : QStringLiteral("_"));
    if (superscript) {
        if (joinPrimes)
            base->superscript->appendList(std::move(script));
        else
            base->superscript = std::move(script);
        m_primed = nullptr;
    } else {
        base->subscript = std::move(script);
        // x'_1^2 still joins the primes with the 2.
    }
}

void Math::Parser::parsePrimes(AtomList &list)
{
    Atom *base = list.last();
    if (!base || base->type() == Type::space || base->type() == Type::style) {
        list.append(std::make_unique<OrdinaryAtom>());
        base = list.last();
    }
    if (base->superscript && base != m_primed)
        fail(Code::doubleSuperscript, QStringLiteral("Prime after a superscript"), m_pos);
    if (!base->superscript)
        base->superscript = AtomList();
    while (!atEnd() && m_text[m_pos] == QLatin1Char('\'')) {
        base->superscript->append(std::make_unique<OrdinaryAtom>(QStringLiteral("\u2032")));
        ++m_pos;
    }
    m_primed = base;
}

Math::AtomList Math::Parser::parseArgument(const QString &forWhat)
{
    skipSpaces();
    const qsizetype start = m_pos;
    if (atEnd() || m_text[m_pos] == QLatin1Char('}') || m_text[m_pos] == QLatin1Char('&')
        || m_text[m_pos] == QLatin1Char('^') || m_text[m_pos] == QLatin1Char('_'))
        fail(Code::missingArgument, QStringLiteral("Missing argument for %1").arg(forWhat), start);
    if (m_text[m_pos] == QLatin1Char('{')) {
        ++m_pos;
        AtomList inner = parseList(atBrace);
        if (m_terminator != Terminator::closeBrace)
            fail(Code::missingCloseBrace, QStringLiteral("Missing } for the argument of %1").arg(forWhat), start);
        return inner;
    }
    enter(start);
    AtomList list;
    const auto savedPrimed = m_primed;
    m_primed = nullptr;
    if (!parseOne(list, 0) || list.isEmpty()) {
        if (list.isEmpty())
            fail(Code::missingArgument, QStringLiteral("Missing argument for %1").arg(forWhat), start);
    }
    m_primed = savedPrimed;
    leave();
    return list;
}

std::optional<Math::AtomList> Math::Parser::parseOptionalArgument()
{
    skipSpaces();
    if (atEnd() || m_text[m_pos] != QLatin1Char('['))
        return std::nullopt;
    const qsizetype start = m_pos++;
    AtomList inner = parseList(atBracket);
    if (m_terminator != Terminator::closeBracket)
        fail(Code::missingCloseBrace, QStringLiteral("Missing ] for the optional argument"), start);
    return inner;
}

QString Math::Parser::parseRawArgument(const QString &forWhat)
{
    skipSpaces();
    const qsizetype start = m_pos;
    if (atEnd())
        fail(Code::missingArgument, QStringLiteral("Missing argument for %1").arg(forWhat), start);
    if (m_text[m_pos] != QLatin1Char('{')) {
        if (m_text[m_pos] == QLatin1Char('\\')) {
            ++m_pos;
            return QLatin1Char('\\') + readCommandName();
        }
        return QString(m_text[m_pos++]);
    }
    int depth = 0;
    for (qsizetype i = m_pos; i < m_text.size(); ++i) {
        const QChar c = m_text[i];
        if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('{')) {
            ++depth;
        } else if (c == QLatin1Char('}') && --depth == 0) {
            m_pos = i + 1;
            return m_text.mid(start + 1, i - start - 1);
        }
    }
    fail(Code::missingCloseBrace, QStringLiteral("Missing } for the argument of %1").arg(forWhat), start);
}

QString Math::Parser::parseDelimiter(const QString &forWhat)
{
    skipSpaces();
    const qsizetype start = m_pos;
    if (atEnd())
        fail(Code::invalidDelimiter, QStringLiteral("Missing delimiter after %1").arg(forWhat), start);
    QString name;
    if (m_text[m_pos] == QLatin1Char('\\')) {
        ++m_pos;
        name = QLatin1Char('\\') + readCommandName();
    } else {
        name = QString(m_text[m_pos++]);
    }
    const QString *character = SymbolTable::shared().delimiter(name);
    if (!character)
        fail(Code::invalidDelimiter, QStringLiteral("\"%1\" is not a delimiter for %2").arg(name, forWhat), start);
    return *character;
}

qreal Math::Parser::parseDimension(const QString &forWhat)
{
    // A dimension in braces ({1.5cm}) or bare (\hskip 2pt); the result is in mu at a 10pt font.
    skipSpaces();
    const qsizetype start = m_pos;
    QString text;
    if (!atEnd() && m_text[m_pos] == QLatin1Char('{')) {
        text = parseRawArgument(forWhat).trimmed();
    } else {
        qsizetype i = m_pos;
        while (i < m_text.size() && (m_text[i].isDigit() || m_text[i] == QLatin1Char('.') || m_text[i] == QLatin1Char('-')
                                     || m_text[i] == QLatin1Char('+') || m_text[i] == QLatin1Char(' ')))
            ++i;
        qsizetype j = i;
        while (j < m_text.size() && isLetter(m_text[j]) && j - i < 2)
            ++j;
        text = m_text.mid(m_pos, j - m_pos);
        m_pos = j;
    }
    text.remove(QLatin1Char(' '));
    if (text.endsWith(QLatin1String("fill")) || text.endsWith(QLatin1String("fil")))
        return 0;
    qsizetype unitAt = text.size();
    while (unitAt > 0 && text[unitAt - 1].isLetter())
        --unitAt;
    bool ok = false;
    QString number = text.left(unitAt);
    if (number.isEmpty() || number == QLatin1String("-") || number == QLatin1String("+"))
        number += QLatin1Char('1');
    const qreal value = number.toDouble(&ok);
    const QString unit = text.mid(unitAt);
    // mu per unit at a 10pt font: 1em = 18mu = 10pt.
    static const QHash<QString, qreal> units = {
        {QStringLiteral("mu"), 1.0}, {QStringLiteral("em"), 18.0}, {QStringLiteral("ex"), 18.0 * 0.431},
        {QStringLiteral("pt"), 1.8}, {QStringLiteral("bp"), 1.8 * 1.00375}, {QStringLiteral("pc"), 1.8 * 12},
        {QStringLiteral("mm"), 1.8 * 2.84528}, {QStringLiteral("cm"), 1.8 * 28.4528},
        {QStringLiteral("in"), 1.8 * 72.27}, {QStringLiteral("px"), 1.8 * 0.75},
    };
    auto it = units.constFind(unit);
    if (!ok || it == units.constEnd() || !std::isfinite(value))
        fail(Code::invalidDimension, QStringLiteral("\"%1\" is not a dimension for %2").arg(text, forWhat), start);
    // Beyond a few metres of space a formula cannot be drawn or laid out sensibly.
    const qreal mu = value * it.value();
    if (std::abs(mu) > maxSpaceMu)
        fail(Code::invalidDimension, QStringLiteral("\"%1\" is too large for %2").arg(text, forWhat), start);
    return mu;
}
