#include "MathWriter.h"

#include "MathAtomKinds.h"
#include "MathSymbolTable.h"

using Type = Math::Atom::Type;
using FontStyle = Math::Atom::FontStyle;
using Level = Math::Atom::Level;

namespace {

QString fontCommand(FontStyle style)
{
    switch (style) {
    case FontStyle::roman: return QStringLiteral("\\mathrm");
    case FontStyle::bold: return QStringLiteral("\\mathbf");
    case FontStyle::italic: return QStringLiteral("\\mathit");
    case FontStyle::calligraphic: return QStringLiteral("\\mathcal");
    case FontStyle::blackboard: return QStringLiteral("\\mathbb");
    case FontStyle::sansSerif: return QStringLiteral("\\mathsf");
    case FontStyle::typewriter: return QStringLiteral("\\mathtt");
    case FontStyle::fraktur: return QStringLiteral("\\mathfrak");
    case FontStyle::text: return QStringLiteral("\\text");
    case FontStyle::defaultStyle: break;
    }
    return {};
}

bool isTextAtom(const Math::Atom &atom)
{
    return atom.fontStyle == FontStyle::text && atom.type() == Type::ordinary && !atom.group
        && !atom.superscript && !atom.subscript && !atom.nucleus.isEmpty() && !atom.phantom;
}

// A character inside \text{...}: the ones that would read as markup are escaped.
QString textCharacter(const QString &c)
{
    if (c == QLatin1String("{") || c == QLatin1String("}") || c == QLatin1String("$") || c == QLatin1String("\\")
        || c == QLatin1String("%") || c == QLatin1String("&"))
        return QLatin1Char('\\') + c;
    return c;
}

// How a nucleus is written in math: the character itself when it reads back as the same class,
// otherwise the command that stands for it.
QString symbol(const QString &n, Type type)
{
    const Math::SymbolTable &table = Math::SymbolTable::shared();
    static const QString special = QStringLiteral("\\{}%$&#_^~'");
    if (n.size() == 1 && n[0].unicode() < 0x80 && !special.contains(n[0])
        && Math::SymbolTable::typeOfCharacter(n[0]) == type)
        return n;
    if (const QString command = table.commandForSymbol(n, type); !command.isEmpty())
        return QLatin1Char('\\') + command;
    if (const QString command = table.commandForDelimiter(n); !command.isEmpty())
        return command;
    return n;
}

} // namespace

QString Math::Writer::write(const AtomList &list)
{
    Writer writer;
    writer.writeList(list);
    return writer.m_out.trimmed();
}

void Math::Writer::writeCommand(const QString &command)
{
    // A space after a command word keeps it apart from a following letter.
    m_out += command;
    if (command.size() > 1 && command.back().isLetter())
        m_out += QLatin1Char(' ');
}

void Math::Writer::writeList(const AtomList &list)
{
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Atom &atom = list.at(i);
        if (isTextAtom(atom)) {
            // Runs of text characters come back as one \text{...}.
            m_out += QStringLiteral("\\text{");
            for (bool afterSpace = false; i < list.size() && isTextAtom(list.at(i)); ++i) {
                const QString &c = list.at(i).nucleus;
                const bool space = c == QLatin1String(" ");
                // Text reads a run of spaces as one: every further space is a control space.
                m_out += space && afterSpace ? QStringLiteral("\\ ") : textCharacter(c);
                afterSpace = space;
            }
            m_out += QStringLiteral("}");
            --i;
            continue;
        }
        // A generalized fraction alone in its list takes the list's braces as its own.
        m_aloneInList = list.size() == 1;
        writeAtom(atom);
    }
}

void Math::Writer::writeGroup(const AtomList &list)
{
    m_out += QLatin1Char('{');
    writeList(list);
    m_out += QLatin1Char('}');
}

void Math::Writer::writeDelimiter(const QString &character)
{
    if (character.isEmpty()) {
        m_out += QLatin1Char('.');
        return;
    }
    const QString command = SymbolTable::shared().commandForDelimiter(character);
    if (!command.isEmpty() && character != QLatin1String("(") && character != QLatin1String(")")
        && character != QLatin1String("[") && character != QLatin1String("]") && character != QLatin1String("/"))
        writeCommand(command);
    else
        m_out += character;
}

void Math::Writer::writeScripts(const Atom &atom)
{
    if (atom.subscript) {
        m_out += QLatin1Char('_');
        writeGroup(*atom.subscript);
    }
    if (atom.superscript) {
        m_out += QLatin1Char('^');
        writeGroup(*atom.superscript);
    }
}

void Math::Writer::writeNucleus(const Atom &atom)
{
    if (atom.group) {
        writeGroup(*atom.group);
        return;
    }
    if (atom.delimiterSize > 0) {
        static const char *const sizes[] = {"big", "Big", "bigg", "Bigg"};
        QString command = QLatin1Char('\\') + QLatin1String(sizes[atom.delimiterSize - 1]);
        if (atom.type() == Type::open)
            command += QLatin1Char('l');
        else if (atom.type() == Type::close)
            command += QLatin1Char('r');
        else if (atom.type() == Type::relation)
            command += QLatin1Char('m');
        m_out += command;
        writeDelimiter(atom.nucleus);
        return;
    }
    const QString &n = atom.nucleus;
    const QString font = fontCommand(atom.fontStyle);
    const auto inFont = [&font](const QString &written) {
        return font.isEmpty() ? written : font + QLatin1Char('{') + written + QLatin1Char('}');
    };
    const SymbolTable &table = SymbolTable::shared();
    QString written;
    if (atom.type() == Type::relation && n == SymbolTable::notSlash()) {
        // \not before what it cannot negate: an empty argument gives the slash alone.
        written = QStringLiteral("\\not{}");
    } else if (const QString base = SymbolTable::unnegated(n);
               atom.type() == Type::relation && !base.isEmpty() && table.commandForSymbol(n).isEmpty()) {
        // A negation without a command of its own. The font goes inside: \text cannot hold \not.
        const QString negated = inFont(atom.fontStyle == FontStyle::text ? textCharacter(base) : symbol(base, Type::relation));
        written = QStringLiteral("\\not") + (negated.startsWith(QLatin1Char('\\')) ? QString() : QStringLiteral(" ")) + negated;
    } else {
        written = inFont(symbol(n, atom.type()));
    }
    m_out += written;
    if (written.size() > 1 && written.back().isLetter() && written.front() == QLatin1Char('\\'))
        m_out += QLatin1Char(' ');
}

void Math::Writer::writeAtom(const Atom &atom)
{
    const auto classWrapper = [&](const char *command) {
        m_out += QLatin1String(command);
        writeGroup(*atom.group);
        writeScripts(atom);
    };
    switch (atom.type()) {
    case Type::fraction: {
        const auto &f = static_cast<const FractionAtom &>(atom);
        if (f.command == QLatin1String("over") || f.command == QLatin1String("atop") || f.command == QLatin1String("choose")
            || f.command == QLatin1String("brack") || f.command == QLatin1String("brace")) {
            const bool braces = !m_aloneInList || atom.superscript || atom.subscript;
            if (braces)
                m_out += QLatin1Char('{');
            writeList(f.numerator);
            writeCommand(QLatin1Char('\\') + f.command);
            writeList(f.denominator);
            if (braces)
                m_out += QLatin1Char('}');
        } else {
            writeCommand(QLatin1Char('\\') + f.command);
            writeGroup(f.numerator);
            writeGroup(f.denominator);
        }
        writeScripts(atom);
        return;
    }
    case Type::radical: {
        const auto &r = static_cast<const RadicalAtom &>(atom);
        m_out += QStringLiteral("\\sqrt");
        if (r.degree) {
            m_out += QLatin1Char('[');
            writeList(*r.degree);
            m_out += QLatin1Char(']');
        }
        writeGroup(r.radicand);
        writeScripts(atom);
        return;
    }
    case Type::largeOperator: {
        const auto &op = static_cast<const LargeOperatorAtom &>(atom);
        if (op.group && op.group->size() == 1 && op.group->at(0).type() == Type::accent
            && static_cast<const AccentAtom &>(op.group->at(0)).wide) {
            // \overbrace and \underbrace carry their limits themselves.
            writeAtom(op.group->at(0));
        } else if (op.group) {
            m_out += QStringLiteral("\\mathop");
            writeGroup(*op.group);
        } else if (op.named && SymbolTable::shared().commandForOperator(op.nucleus) != op.nucleus) {
            m_out += QStringLiteral("\\operatorname");
            if (op.limitsInDisplay)
                m_out += QLatin1Char('*');
            m_out += QLatin1Char('{') + op.nucleus + QLatin1Char('}');
        } else {
            writeCommand(QLatin1Char('\\') + SymbolTable::shared().commandForOperator(op.nucleus));
        }
        if (op.limits == LargeOperatorAtom::Limits::limits && !(op.group && op.group->size() == 1 && op.group->at(0).type() == Type::accent))
            writeCommand(QStringLiteral("\\limits"));
        else if (op.limits == LargeOperatorAtom::Limits::noLimits)
            writeCommand(QStringLiteral("\\nolimits"));
        writeScripts(atom);
        return;
    }
    case Type::inner:
        if (const auto *inner = dynamic_cast<const InnerAtom *>(&atom)) {
            writeCommand(QStringLiteral("\\left"));
            writeDelimiter(inner->delimiters.value(0));
            for (std::size_t i = 0; i < inner->parts.size(); ++i) {
                if (i > 0) {
                    writeCommand(QStringLiteral("\\middle"));
                    writeDelimiter(inner->delimiters.value(qsizetype(i)));
                }
                writeList(inner->parts[i]);
            }
            writeCommand(QStringLiteral("\\right"));
            writeDelimiter(inner->delimiters.value(qsizetype(inner->parts.size())));
            writeScripts(atom);
            return;
        }
        if (atom.group)
            return classWrapper("\\mathinner");
        break;
    case Type::accent: {
        const auto &a = static_cast<const AccentAtom &>(atom);
        writeCommand(QLatin1Char('\\') + a.command);
        writeGroup(a.accentee);
        writeScripts(atom);
        return;
    }
    case Type::line: {
        const auto &l = static_cast<const LineAtom &>(atom);
        writeCommand(l.over ? QStringLiteral("\\overline") : QStringLiteral("\\underline"));
        writeGroup(l.inner);
        writeScripts(atom);
        return;
    }
    case Type::table: {
        const auto &t = static_cast<const TableAtom &>(atom);
        if (t.plainTeX) {
            writeCommand(QLatin1Char('\\') + t.environment);
            m_out += QLatin1Char('{');
        } else {
            m_out += QStringLiteral("\\begin{") + t.environment + QLatin1Char('}');
            if (t.environment == QLatin1String("array"))
                m_out += QLatin1Char('{') + t.alignments + QLatin1Char('}');
        }
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const qsizetype rowStart = m_out.size();
            for (std::size_t c = 0; c < t.rows[r].size(); ++c) {
                if (c > 0)
                    m_out += QStringLiteral("&");
                writeList(t.rows[r][c]);
            }
            // A row that starts with [ would read as the spacing argument of the \\ before it.
            if (r > 0 && m_out.size() > rowStart && m_out[rowStart] == QLatin1Char('['))
                m_out.insert(rowStart, QStringLiteral("\\relax "));
            // An empty last row is kept only when a row break ends it too.
            const bool emptyLastRow = r + 1 == t.rows.size() && t.rows[r].size() == 1 && t.rows[r].front().isEmpty();
            if (t.plainTeX)
                writeCommand(QStringLiteral("\\cr"));
            else if (r + 1 < t.rows.size() || emptyLastRow)
                m_out += QStringLiteral("\\\\");
        }
        if (t.plainTeX)
            m_out += QLatin1Char('}');
        else
            m_out += QStringLiteral("\\end{") + t.environment + QLatin1Char('}');
        writeScripts(atom);
        return;
    }
    case Type::style: {
        static const char *const names[] = {"\\displaystyle", "\\textstyle", "\\scriptstyle", "\\scriptscriptstyle"};
        writeCommand(QLatin1String(names[int(static_cast<const StyleAtom &>(atom).level)]));
        return;
    }
    case Type::space:
        writeCommand(static_cast<const SpaceAtom &>(atom).command);
        return;
    default:
        break;
    }
    if (atom.phantom) {
        if (atom.group) {
            m_out += QStringLiteral("\\phantom");
            writeGroup(*atom.group);
        } else {
            writeCommand(QStringLiteral("\\strut"));
        }
        writeScripts(atom);
        return;
    }
    if (atom.group && atom.type() != Type::ordinary) {
        static const char *const wrappers[] = {"\\mathord", "\\mathop", "\\mathbin", "\\mathrel", "\\mathopen", "\\mathclose", "\\mathpunct", "\\mathinner"};
        const int index = int(atom.type());
        return classWrapper(index < 8 ? wrappers[index] : "\\mathord");
    }
    writeNucleus(atom);
    writeScripts(atom);
}
