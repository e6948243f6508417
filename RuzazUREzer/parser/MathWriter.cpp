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
            for (; i < list.size() && isTextAtom(list.at(i)); ++i) {
                const QString &c = list.at(i).nucleus;
                if (c == QLatin1String("{") || c == QLatin1String("}") || c == QLatin1String("$")
                    || c == QLatin1String("\\") || c == QLatin1String("%") || c == QLatin1String("&"))
                    m_out += QLatin1Char('\\');
                m_out += c;
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
    const SymbolTable &table = SymbolTable::shared();
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
    QString written;
    if (n.size() == 1 && n[0].unicode() < 0x80 && n != QLatin1String("\\") && n != QLatin1String("{")
        && n != QLatin1String("}") && n != QLatin1String("%") && n != QLatin1String("$") && n != QLatin1String("&")
        && n != QLatin1String("#") && n != QLatin1String("_") && n != QLatin1String("^") && n != QLatin1String("~")
        && n != QLatin1String("'")) {
        written = n;
    } else {
        QString command = table.commandForSymbol(n);
        // A symbol's class can differ from its table entry (\mathbin, Bin made Ord); the
        // writer keeps the command and lets the parser redo the class.
        if (command.isEmpty() && n.endsWith(QChar(0x338))) {
            written = QStringLiteral("\\not") + (n.size() == 2 && n[0].unicode() < 0x80 ? n.left(1) : QLatin1Char('\\') + table.commandForSymbol(n.chopped(1)));
        } else if (!command.isEmpty()) {
            written = QLatin1Char('\\') + command;
        } else if (!table.commandForDelimiter(n).isEmpty()) {
            written = table.commandForDelimiter(n);
        } else {
            written = n;
        }
    }
    const QString font = fontCommand(atom.fontStyle);
    if (!font.isEmpty()) {
        m_out += font + QLatin1Char('{') + written + QLatin1Char('}');
    } else {
        m_out += written;
        if (written.size() > 1 && written.back().isLetter() && written.front() == QLatin1Char('\\'))
            m_out += QLatin1Char(' ');
    }
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
            if (t.plainTeX)
                writeCommand(QStringLiteral("\\cr"));
            else if (r + 1 < t.rows.size())
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
