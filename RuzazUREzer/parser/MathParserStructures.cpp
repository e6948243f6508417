// Commands that build structures: fractions, radicals, accents, delimiters, environments.
#include "MathParser.h"

#include "MathAtomKinds.h"
#include "MathSymbolTable.h"

#include <QHash>

using Code = Math::ParserError::Code;
using Type = Math::Atom::Type;
using FontStyle = Math::Atom::FontStyle;
using Level = Math::Atom::Level;

namespace {

// A symbol and nothing more, which \not can negate: a character or a symbol command, without a
// group, a construction of its own or a fixed delimiter size.
bool isPlainSymbol(const Math::Atom &atom)
{
    switch (atom.type()) {
    case Type::ordinary:
    case Type::binary:
    case Type::relation:
    case Type::open:
    case Type::close:
    case Type::punctuation:
        return !atom.nucleus.isEmpty() && !atom.group && atom.delimiterSize == 0 && !atom.phantom;
    default:
        return false;
    }
}

std::unique_ptr<Math::Atom> asLimitsOperator(std::unique_ptr<Math::Atom> nucleus)
{
    auto op = std::make_unique<Math::LargeOperatorAtom>(QString(), false, true);
    op->limits = Math::LargeOperatorAtom::Limits::limits;
    op->group = Math::AtomList();
    op->group->append(std::move(nucleus));
    return op;
}

std::unique_ptr<Math::Atom> wrap(Math::AtomList &&list)
{
    auto atom = std::make_unique<Math::OrdinaryAtom>();
    atom->group = std::move(list);
    return atom;
}

} // namespace

bool Math::Parser::parseStructureCommand(AtomList &list, const QString &name, qsizetype start)
{
    const SymbolTable &table = SymbolTable::shared();
    m_primed = nullptr;

    static const QHash<QString, int> fractions = {
        {QStringLiteral("frac"), 0}, {QStringLiteral("dfrac"), 1}, {QStringLiteral("tfrac"), 2},
        {QStringLiteral("cfrac"), 1}, {QStringLiteral("binom"), 3}, {QStringLiteral("dbinom"), 4},
        {QStringLiteral("tbinom"), 5},
    };
    if (auto it = fractions.constFind(name); it != fractions.constEnd()) {
        auto fraction = std::make_unique<FractionAtom>();
        fraction->command = name;
        fraction->numerator = parseArgument(QLatin1Char('\\') + name);
        fraction->denominator = parseArgument(QLatin1Char('\\') + name);
        const int kind = it.value();
        if (kind >= 3) {
            fraction->hasRule = false;
            fraction->leftDelimiter = QStringLiteral("(");
            fraction->rightDelimiter = QStringLiteral(")");
        }
        if (kind % 3 == 1)
            fraction->forcedLevel = Level::display;
        else if (kind % 3 == 2)
            fraction->forcedLevel = Level::text;
        list.append(std::move(fraction));
        return true;
    }
    if (name == QLatin1String("sqrt")) {
        auto radical = std::make_unique<RadicalAtom>();
        radical->degree = parseOptionalArgument();
        radical->radicand = parseArgument(QStringLiteral("\\sqrt"));
        list.append(std::move(radical));
        return true;
    }
    if (const auto *accent = table.accent(name)) {
        auto atom = std::make_unique<AccentAtom>(accent->character, name);
        atom->wide = accent->wide;
        atom->below = accent->below;
        atom->accentee = parseArgument(QLatin1Char('\\') + name);
        // Braces take their annotation as limits: \overbrace{x}^{n}.
        if (name == QLatin1String("overbrace") || name == QLatin1String("underbrace"))
            list.append(asLimitsOperator(std::move(atom)));
        else
            list.append(std::move(atom));
        return true;
    }
    if (name == QLatin1String("overline") || name == QLatin1String("underline")) {
        auto atom = std::make_unique<LineAtom>(name == QLatin1String("overline"));
        atom->inner = parseArgument(QLatin1Char('\\') + name);
        list.append(std::move(atom));
        return true;
    }
    if (name == QLatin1String("left")) {
        parseLeftRight(list);
        return true;
    }
    if (name == QLatin1String("begin")) {
        parseEnvironment(list, start);
        return true;
    }
    static const QHash<QString, std::pair<int, Type>> bigs = {
        {QStringLiteral("big"), {1, Type::ordinary}}, {QStringLiteral("Big"), {2, Type::ordinary}},
        {QStringLiteral("bigg"), {3, Type::ordinary}}, {QStringLiteral("Bigg"), {4, Type::ordinary}},
        {QStringLiteral("bigl"), {1, Type::open}}, {QStringLiteral("Bigl"), {2, Type::open}},
        {QStringLiteral("biggl"), {3, Type::open}}, {QStringLiteral("Biggl"), {4, Type::open}},
        {QStringLiteral("bigr"), {1, Type::close}}, {QStringLiteral("Bigr"), {2, Type::close}},
        {QStringLiteral("biggr"), {3, Type::close}}, {QStringLiteral("Biggr"), {4, Type::close}},
        {QStringLiteral("bigm"), {1, Type::relation}}, {QStringLiteral("Bigm"), {2, Type::relation}},
        {QStringLiteral("biggm"), {3, Type::relation}}, {QStringLiteral("Biggm"), {4, Type::relation}},
    };
    if (auto it = bigs.constFind(name); it != bigs.constEnd()) {
        auto atom = std::make_unique<Atom>(it->second, parseDelimiter(QLatin1Char('\\') + name));
        atom->delimiterSize = it->first;
        list.append(std::move(atom));
        return true;
    }
    static const QHash<QString, Type> classes = {
        {QStringLiteral("mathord"), Type::ordinary}, {QStringLiteral("mathbin"), Type::binary},
        {QStringLiteral("mathrel"), Type::relation}, {QStringLiteral("mathopen"), Type::open},
        {QStringLiteral("mathclose"), Type::close}, {QStringLiteral("mathpunct"), Type::punctuation},
        {QStringLiteral("mathinner"), Type::inner},
    };
    if (auto it = classes.constFind(name); it != classes.constEnd()) {
        auto atom = std::make_unique<Atom>(it.value());
        atom->group = parseArgument(QLatin1Char('\\') + name);
        list.append(std::move(atom));
        return true;
    }
    if (name == QLatin1String("mathop")) {
        auto op = std::make_unique<LargeOperatorAtom>(QString(), false, true);
        op->group = parseArgument(QStringLiteral("\\mathop"));
        list.append(std::move(op));
        return true;
    }
    if (name == QLatin1String("operatorname")) {
        skipSpaces();
        const bool star = !atEnd() && m_text[m_pos] == QLatin1Char('*');
        if (star)
            ++m_pos;
        QString word = parseRawArgument(QStringLiteral("\\operatorname"));
        word.remove(QLatin1Char('{')).remove(QLatin1Char('}')).remove(QLatin1Char('\\'));
        auto op = std::make_unique<LargeOperatorAtom>(word.trimmed(), true, star);
        list.append(std::move(op));
        return true;
    }
    if (name == QLatin1String("stackrel") || name == QLatin1String("overset") || name == QLatin1String("underset")) {
        AtomList annotation = parseArgument(QLatin1Char('\\') + name);
        AtomList base = parseArgument(QLatin1Char('\\') + name);
        const bool relation = name == QLatin1String("stackrel");
        auto op = asLimitsOperator(wrap(std::move(base)));
        if (name == QLatin1String("underset"))
            op->subscript = std::move(annotation);
        else
            op->superscript = std::move(annotation);
        auto atom = std::make_unique<Atom>(relation ? Type::relation : Type::ordinary);
        atom->group = AtomList();
        atom->group->append(std::move(op));
        list.append(std::move(atom));
        return true;
    }
    if (name == QLatin1String("not")) {
        AtomList argument = parseArgument(QStringLiteral("\\not"));
        // A symbol takes the slash into its character and becomes a relation; anything else
        // (an accent, an operator, several atoms) stays as it is, with a slash set before it.
        if (argument.size() == 1 && isPlainSymbol(argument.at(0))) {
            auto atom = argument.takeLast();
            atom->nucleus = SymbolTable::negated(atom->nucleus);
            atom->setType(Type::relation);
            list.append(std::move(atom));
        } else {
            list.append(std::make_unique<Atom>(Type::relation, SymbolTable::notSlash()));
            list.appendList(std::move(argument));
        }
        return true;
    }
    if (name == QLatin1String("phantom") || name == QLatin1String("hphantom") || name == QLatin1String("vphantom")) {
        auto atom = std::make_unique<OrdinaryAtom>();
        atom->group = parseArgument(QLatin1Char('\\') + name);
        atom->phantom = true;
        list.append(std::move(atom));
        return true;
    }
    if (name == QLatin1String("strut") || name == QLatin1String("mathstrut")) {
        auto atom = std::make_unique<OrdinaryAtom>(QStringLiteral("("));
        atom->phantom = true;
        list.append(std::move(atom));
        return true;
    }
    static const QHash<QString, Level> styles = {
        {QStringLiteral("displaystyle"), Level::display}, {QStringLiteral("textstyle"), Level::text},
        {QStringLiteral("scriptstyle"), Level::script}, {QStringLiteral("scriptscriptstyle"), Level::scriptScript},
    };
    if (auto it = styles.constFind(name); it != styles.constEnd()) {
        list.append(std::make_unique<StyleAtom>(it.value()));
        return true;
    }
    if (name == QLatin1String("sp") || name == QLatin1String("sb")) {
        parseScript(list, name == QLatin1String("sp"), start);
        return true;
    }
    static const QHash<QString, QString> plainTables = {
        {QStringLiteral("matrix"), QStringLiteral("matrix")}, {QStringLiteral("pmatrix"), QStringLiteral("pmatrix")},
        {QStringLiteral("bmatrix"), QStringLiteral("bmatrix")}, {QStringLiteral("cases"), QStringLiteral("cases")},
    };
    if (auto it = plainTables.constFind(name); it != plainTables.constEnd()) {
        skipSpaces();
        if (atEnd() || m_text[m_pos] != QLatin1Char('{'))
            fail(Code::missingArgument, QStringLiteral("Missing { after \\%1").arg(name), m_pos);
        ++m_pos;
        auto tableAtom = std::make_unique<TableAtom>(it.value());
        tableAtom->plainTeX = true;
        parseTableBody(*tableAtom, true, name, start);
        list.append(std::move(tableAtom));
        return true;
    }
    return false;
}

void Math::Parser::parseLeftRight(AtomList &list)
{
    const qsizetype start = m_pos;
    auto inner = std::make_unique<InnerAtom>();
    inner->delimiters.append(parseDelimiter(QStringLiteral("\\left")));
    while (true) {
        inner->parts.push_back(parseList(atRight));
        if (m_terminator == Terminator::right) {
            inner->delimiters.append(parseDelimiter(QStringLiteral("\\right")));
            break;
        }
        if (m_terminator == Terminator::middle) {
            inner->delimiters.append(parseDelimiter(QStringLiteral("\\middle")));
            continue;
        }
        if (m_terminator == Terminator::closeBrace)
            fail(Code::missingRight, QStringLiteral("Missing \\right before }"), m_pos - 1);
        fail(Code::missingRight, QStringLiteral("Missing \\right for \\left"), start);
    }
    list.append(std::move(inner));
}

void Math::Parser::parseEnvironment(AtomList &list, qsizetype start)
{
    const QString environment = parseRawArgument(QStringLiteral("\\begin")).trimmed();
    static const QHash<QString, QString> alignments = {
        {QStringLiteral("matrix"), QStringLiteral("c")}, {QStringLiteral("pmatrix"), QStringLiteral("c")},
        {QStringLiteral("bmatrix"), QStringLiteral("c")}, {QStringLiteral("Bmatrix"), QStringLiteral("c")},
        {QStringLiteral("vmatrix"), QStringLiteral("c")}, {QStringLiteral("Vmatrix"), QStringLiteral("c")},
        {QStringLiteral("smallmatrix"), QStringLiteral("c")}, {QStringLiteral("array"), QStringLiteral("c")},
        {QStringLiteral("cases"), QStringLiteral("ll")}, {QStringLiteral("aligned"), QStringLiteral("rl")},
        {QStringLiteral("align"), QStringLiteral("rl")}, {QStringLiteral("align*"), QStringLiteral("rl")},
        {QStringLiteral("split"), QStringLiteral("rl")}, {QStringLiteral("gathered"), QStringLiteral("c")},
        {QStringLiteral("gather"), QStringLiteral("c")}, {QStringLiteral("gather*"), QStringLiteral("c")},
        {QStringLiteral("eqnarray"), QStringLiteral("rcl")}, {QStringLiteral("eqnarray*"), QStringLiteral("rcl")},
        {QStringLiteral("equation"), QString()}, {QStringLiteral("equation*"), QString()},
        {QStringLiteral("displaymath"), QString()},
    };
    auto it = alignments.constFind(environment);
    if (it == alignments.constEnd())
        fail(Code::unknownEnvironment, QStringLiteral("Unknown environment \"%1\"").arg(environment), start);
    if (it->isEmpty()) {
        // A single-formula environment is only a group here.
        AtomList inner = parseList(atAlignment);
        if (m_terminator != Terminator::endEnvironment)
            fail(Code::mismatchedEnvironment, QStringLiteral("Missing \\end{%1}").arg(environment), start);
        const QString closing = parseRawArgument(QStringLiteral("\\end")).trimmed();
        if (closing != environment)
            fail(Code::mismatchedEnvironment, QStringLiteral("\\begin{%1} ended by \\end{%2}").arg(environment, closing), m_terminatorStart);
        list.append(wrap(std::move(inner)));
        return;
    }
    auto tableAtom = std::make_unique<TableAtom>(environment);
    tableAtom->alignments = it.value();
    if (environment == QLatin1String("array")) {
        skipSpaces();
        if (!atEnd() && m_text[m_pos] == QLatin1Char('['))
            skipBracket();
        const QString spec = parseRawArgument(QStringLiteral("\\begin{array}"));
        QString columns;
        for (qsizetype i = 0; i < spec.size(); ++i) {
            const QChar c = spec[i];
            if (c == QLatin1Char('l') || c == QLatin1Char('c') || c == QLatin1Char('r')) {
                columns += c;
            } else if ((c == QLatin1Char('@') || c == QLatin1Char('p') || c == QLatin1Char('m') || c == QLatin1Char('b'))
                       && i + 1 < spec.size() && spec[i + 1] == QLatin1Char('{')) {
                if (c != QLatin1Char('@'))
                    columns += QLatin1Char('l');
                int depth = 0;
                for (++i; i < spec.size(); ++i) {
                    if (spec[i] == QLatin1Char('{'))
                        ++depth;
                    else if (spec[i] == QLatin1Char('}') && --depth == 0)
                        break;
                }
            }
        }
        tableAtom->alignments = columns.isEmpty() ? QStringLiteral("c") : columns;
    }
    parseTableBody(*tableAtom, false, environment, start);
    list.append(std::move(tableAtom));
}

void Math::Parser::skipBracket()
{
    const qsizetype close = m_text.indexOf(QLatin1Char(']'), m_pos);
    m_pos = close < 0 ? m_text.size() : close + 1;
}

void Math::Parser::parseTableBody(TableAtom &table, bool plainTeX, const QString &environment, qsizetype start)
{
    enter(start);
    std::vector<AtomList> row;
    while (true) {
        row.push_back(parseList(atAlignment | (plainTeX ? atBrace : 0u)));
        const Terminator terminator = m_terminator;
        if (terminator == Terminator::alignment)
            continue;
        if (terminator == Terminator::rowBreak) {
            skipSpaces();
            // \\[2pt] asks for extra room below the row.
            if (!atEnd() && m_text[m_pos] == QLatin1Char('['))
                skipBracket();
            table.rows.push_back(std::move(row));
            row.clear();
            continue;
        }
        const bool lastRowEmpty = row.size() == 1 && row.front().isEmpty();
        if (!lastRowEmpty)
            table.rows.push_back(std::move(row));
        if (environment.isEmpty()) {
            // The formula itself: it ends with the text.
            if (terminator == Terminator::endEnvironment)
                fail(Code::mismatchedEnvironment, QStringLiteral("\\end without \\begin"), m_terminatorStart);
            break;
        }
        if (plainTeX) {
            if (terminator != Terminator::closeBrace)
                fail(Code::missingCloseBrace, QStringLiteral("Missing } to end \\%1").arg(environment), start);
            break;
        }
        if (terminator != Terminator::endEnvironment)
            fail(Code::mismatchedEnvironment, QStringLiteral("Missing \\end{%1}").arg(environment), start);
        const qsizetype endAt = m_terminatorStart;
        const QString closing = parseRawArgument(QStringLiteral("\\end")).trimmed();
        if (closing != environment)
            fail(Code::mismatchedEnvironment, QStringLiteral("\\begin{%1} ended by \\end{%2}").arg(environment, closing), endAt);
        break;
    }
    leave();
}
