// The commands of the parser, apart from the core loop in MathParser.cpp.
#include "MathParser.h"

#include "MathAtomKinds.h"
#include "MathSymbolTable.h"

#include <QHash>
#include <QLocale>
#include <QSet>

using Code = Math::ParserError::Code;
using Type = Math::Atom::Type;
using FontStyle = Math::Atom::FontStyle;
using Level = Math::Atom::Level;

namespace {

// How a space measured here is written back: in mu, with every digit needed to read the same width.
QString muSpace(qreal mu)
{
    return QStringLiteral("\\hspace{%1mu}").arg(QString::number(mu, 'g', QLocale::FloatingPointShortest));
}

} // namespace

void Math::Parser::parseCommand(AtomList &list, const QString &name, qsizetype start)
{
    if (name == QLatin1String("right") || name == QLatin1String("middle"))
        fail(Code::unexpectedRight, QStringLiteral("\\%1 without \\left").arg(name), start);
    if (name == QLatin1String("end"))
        fail(Code::mismatchedEnvironment, QStringLiteral("\\end without \\begin"), start);
    if (name == QLatin1String("limits") || name == QLatin1String("nolimits") || name == QLatin1String("displaylimits")) {
        Atom *last = list.last();
        auto *op = dynamic_cast<LargeOperatorAtom *>(last);
        if (!op)
            fail(Code::misplacedLimits, QStringLiteral("\\%1 after something that is not an operator").arg(name), start);
        op->limits = name == QLatin1String("limits")     ? LargeOperatorAtom::Limits::limits
                   : name == QLatin1String("nolimits") ? LargeOperatorAtom::Limits::noLimits
                                                       : LargeOperatorAtom::Limits::automatic;
        return;
    }
    // Symbols are by far the most frequent commands, so they are looked up first.
    if (parseSymbolCommand(list, name) || parseStructureCommand(list, name, start) || parseFontCommand(list, name)
        || parseSpacingCommand(list, name) || parseIgnoredCommand(name))
        return;
    fail(Code::unknownCommand, QStringLiteral("Unknown command \\%1").arg(name), start);
}

bool Math::Parser::parseSymbolCommand(AtomList &list, const QString &name)
{
    const SymbolTable &table = SymbolTable::shared();
    std::unique_ptr<Atom> atom;
    if (const auto *symbol = table.symbol(name)) {
        atom = std::make_unique<Atom>(symbol->type, symbol->nucleus);
    } else if (const auto *op = table.largeOperator(name)) {
        atom = std::make_unique<LargeOperatorAtom>(op->nucleus, op->named, op->limitsInDisplay);
    } else {
        return false;
    }
    atom->fontStyle = m_fontStyle;
    list.append(std::move(atom));
    m_primed = nullptr;
    return true;
}

bool Math::Parser::parseIgnoredCommand(const QString &name)
{
    // Page layout, numbering and text sizes have no meaning inside one typeset formula.
    static const QSet<QString> withArgument = {
        QStringLiteral("label"), QStringLiteral("tag"), QStringLiteral("vspace"), QStringLiteral("cline"),
        QStringLiteral("color"), QStringLiteral("eqref"),
    };
    static const QSet<QString> bare = {
        QStringLiteral("nonumber"), QStringLiteral("notag"), QStringLiteral("smallskip"),
        QStringLiteral("medskip"), QStringLiteral("bigskip"), QStringLiteral("small"), QStringLiteral("tiny"),
        QStringLiteral("scriptsize"), QStringLiteral("footnotesize"), QStringLiteral("normalsize"),
        QStringLiteral("large"), QStringLiteral("Large"), QStringLiteral("LARGE"), QStringLiteral("huge"),
        QStringLiteral("Huge"), QStringLiteral("nolinebreak"), QStringLiteral("allowbreak"),
        QStringLiteral("noindent"), QStringLiteral("relax"), QStringLiteral("hline"), QStringLiteral("vline"),
        QStringLiteral("protect"), QStringLiteral("hfill"), QStringLiteral("hfil"), QStringLiteral("hss"),
        QStringLiteral("displaybreak"), QStringLiteral("newline"), QStringLiteral("nobreak"),
        QStringLiteral("unboldmath"),
    };
    if (bare.contains(name))
        return true;
    if (withArgument.contains(name)) {
        skipSpaces();
        if (!atEnd() && m_text[m_pos] == QLatin1Char('*'))
            ++m_pos;
        parseRawArgument(QLatin1Char('\\') + name);
        return true;
    }
    return false;
}

bool Math::Parser::parseSpacingCommand(AtomList &list, const QString &name)
{
    static const QHash<QString, qreal> fixed = {
        {QStringLiteral(","), 3}, {QStringLiteral(":"), 4}, {QStringLiteral(">"), 4}, {QStringLiteral(";"), 5},
        {QStringLiteral("!"), -3}, {QStringLiteral(" "), 6}, {QStringLiteral("quad"), 18},
        {QStringLiteral("qquad"), 36}, {QStringLiteral("enspace"), 9}, {QStringLiteral("thinspace"), 3},
        {QStringLiteral("medspace"), 4}, {QStringLiteral("thickspace"), 5}, {QStringLiteral("negthinspace"), -3},
        {QStringLiteral("negmedspace"), -4}, {QStringLiteral("negthickspace"), -5},
    };
    auto it = fixed.constFind(name);
    if (it != fixed.constEnd()) {
        list.append(std::make_unique<SpaceAtom>(it.value(), QLatin1Char('\\') + name));
        return true;
    }
    if (name == QLatin1String("\n") || name == QLatin1String("\t")) {
        list.append(std::make_unique<SpaceAtom>(6, QStringLiteral("\\ ")));
        return true;
    }
    if (name == QLatin1String("hspace") || name == QLatin1String("hskip") || name == QLatin1String("kern")
        || name == QLatin1String("mkern") || name == QLatin1String("mskip")) {
        skipSpaces();
        if (name == QLatin1String("hspace") && !atEnd() && m_text[m_pos] == QLatin1Char('*'))
            ++m_pos;
        const qsizetype from = m_pos;
        const qreal mu = parseDimension(QLatin1Char('\\') + name);
        QString written = m_text.mid(from, m_pos - from).trimmed();
        if (!written.startsWith(QLatin1Char('{')))
            written = QLatin1Char('{') + written + QLatin1Char('}');
        // TeX glue may go on with "plus" and "minus"; the stretch does not matter for one line.
        for (const char *word : {"plus", "minus"}) {
            skipSpaces();
            if (m_text.mid(m_pos, 4 + (word[0] == 'm')).startsWith(QLatin1String(word))) {
                m_pos += qsizetype(qstrlen(word));
                parseDimension(QLatin1Char('\\') + name);
            }
        }
        list.append(std::make_unique<SpaceAtom>(mu, QStringLiteral("\\hspace") + written));
        return true;
    }
    if (name == QLatin1String("rule")) {
        parseOptionalArgument();
        const qreal width = parseDimension(QStringLiteral("\\rule"));
        parseDimension(QStringLiteral("\\rule"));
        list.append(std::make_unique<SpaceAtom>(width, muSpace(width)));
        return true;
    }
    return false;
}

bool Math::Parser::parseFontCommand(AtomList &list, const QString &name)
{
    static const QHash<QString, FontStyle> withArgument = {
        {QStringLiteral("mathrm"), FontStyle::roman}, {QStringLiteral("mathbf"), FontStyle::bold},
        {QStringLiteral("mathit"), FontStyle::italic}, {QStringLiteral("mathcal"), FontStyle::calligraphic},
        {QStringLiteral("mathscr"), FontStyle::calligraphic}, {QStringLiteral("mathbb"), FontStyle::blackboard},
        {QStringLiteral("mathsf"), FontStyle::sansSerif}, {QStringLiteral("mathtt"), FontStyle::typewriter},
        {QStringLiteral("mathfrak"), FontStyle::fraktur}, {QStringLiteral("mathnormal"), FontStyle::defaultStyle},
        {QStringLiteral("boldsymbol"), FontStyle::bold}, {QStringLiteral("bm"), FontStyle::bold},
        {QStringLiteral("Bbb"), FontStyle::blackboard},
    };
    static const QHash<QString, FontStyle> declarations = {
        {QStringLiteral("rm"), FontStyle::roman}, {QStringLiteral("bf"), FontStyle::bold},
        {QStringLiteral("it"), FontStyle::italic}, {QStringLiteral("cal"), FontStyle::calligraphic},
        {QStringLiteral("sf"), FontStyle::sansSerif}, {QStringLiteral("tt"), FontStyle::typewriter},
        {QStringLiteral("mit"), FontStyle::defaultStyle}, {QStringLiteral("boldmath"), FontStyle::bold},
        {QStringLiteral("frak"), FontStyle::fraktur},
    };
    static const QSet<QString> textCommands = {
        QStringLiteral("text"), QStringLiteral("mbox"), QStringLiteral("hbox"), QStringLiteral("textrm"),
        QStringLiteral("textbf"), QStringLiteral("textit"), QStringLiteral("textsf"), QStringLiteral("texttt"),
        QStringLiteral("textnormal"), QStringLiteral("fbox"), QStringLiteral("textup"), QStringLiteral("emph"),
    };
    if (auto it = declarations.constFind(name); it != declarations.constEnd()) {
        m_fontStyle = it.value();
        return true;
    }
    if (auto it = withArgument.constFind(name); it != withArgument.constEnd()) {
        const FontStyle saved = m_fontStyle;
        m_fontStyle = it.value();
        AtomList argument = parseArgument(QLatin1Char('\\') + name);
        m_fontStyle = saved;
        auto atom = std::unique_ptr<Atom>();
        if (argument.size() == 1 && !argument.at(0).superscript && !argument.at(0).subscript) {
            atom = argument.takeLast();
        } else {
            atom = std::make_unique<OrdinaryAtom>();
            atom->group = std::move(argument);
        }
        list.append(std::move(atom));
        m_primed = nullptr;
        return true;
    }
    if (textCommands.contains(name)) {
        const QString text = parseRawArgument(QLatin1Char('\\') + name);
        const bool braced = m_pos > 0 && m_text[m_pos - 1] == QLatin1Char('}');
        parseText(list, text, m_pos - text.size() - (braced ? 1 : 0));
        m_primed = nullptr;
        return true;
    }
    return false;
}

void Math::Parser::parseText(AtomList &list, const QString &text, qsizetype base)
{
    // Math inside text is parsed on its own; its errors point into the whole formula.
    const auto subParse = [&](qsizetype from, const QString &part, const auto &work) {
        Parser sub(part);
        sub.m_depth = m_depth;
        try {
            return work(sub);
        } catch (const ParserError &e) {
            throw ParserError(e.code(), e.description(), m_text, base + from + e.offset());
        }
    };
    // Text keeps its spaces and reads $...$ as math again.
    enter(m_pos);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('{') || c == QLatin1Char('}'))
            continue;
        if (c == QLatin1Char('$')) {
            const qsizetype close = text.indexOf(QLatin1Char('$'), i + 1);
            const QString inner = text.mid(i + 1, close < 0 ? -1 : close - i - 1);
            list.appendList(subParse(i + 1, inner, [](Parser &sub) { return sub.parseList(0); }));
            if (close < 0)
                break;
            i = close;
            continue;
        }
        QString character(c);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            qsizetype j = i + 1;
            if (text[j].isLetter()) {
                while (j < text.size() && text[j].isLetter())
                    ++j;
                const QString command = text.mid(i + 1, j - i - 1);
                if (command == QLatin1String("hspace") || command == QLatin1String("hskip")) {
                    const auto [mu, used] = subParse(j, text.mid(j), [&command](Parser &sub) {
                        const qreal width = sub.parseDimension(QLatin1Char('\\') + command);
                        return std::pair(width, sub.m_pos);
                    });
                    list.append(std::make_unique<SpaceAtom>(mu, muSpace(mu)));
                    j += used;
                } else if (command == QLatin1String("quad") || command == QLatin1String("qquad")) {
                    list.append(std::make_unique<SpaceAtom>(command.size() == 4 ? 18 : 36, QLatin1Char('\\') + command));
                }
                // Other commands in text only switch text fonts, which one text face ignores.
                // Spaces after a command word end the word, as in TeX.
                while (j < text.size() && text[j].isSpace())
                    ++j;
                i = j - 1;
                continue;
            }
            i = j;
            character = text[j];
            if (character == QLatin1String(",") || character == QLatin1String(";"))
                character = QStringLiteral(" ");
        } else if (c.isSpace()) {
            character = QStringLiteral(" ");
            while (i + 1 < text.size() && text[i + 1].isSpace())
                ++i;
        }
        auto atom = std::make_unique<OrdinaryAtom>(character);
        atom->fontStyle = FontStyle::text;
        list.append(std::move(atom));
    }
    leave();
}
