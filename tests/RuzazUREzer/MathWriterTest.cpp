#include "MathAtomKinds.h"
#include "MathParser.h"
#include "MathTestSupport.h"
#include "MathWriter.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QString roundTrip(const QString &latex)
{
    return Math::Writer::write(Math::Parser::parse(latex));
}

QString describe(const Math::AtomList &list);

QString describe(const std::optional<Math::AtomList> &list)
{
    return list ? describe(*list) : QStringLiteral("-");
}

// Everything an atom holds, written out, so that two parses can be compared atom by atom.
QString describe(const Math::Atom &atom)
{
    QString d = QStringLiteral("%1'%2' font%3").arg(int(atom.type())).arg(atom.nucleus).arg(int(atom.fontStyle));
    if (atom.delimiterSize)
        d += QStringLiteral(" size%1").arg(atom.delimiterSize);
    if (atom.phantom)
        d += QStringLiteral(" phantom");
    if (atom.group)
        d += QStringLiteral(" group") + describe(*atom.group);
    if (const auto *f = dynamic_cast<const Math::FractionAtom *>(&atom))
        d += QStringLiteral(" \\%1 rule%2 %3%4 level%5 ")
                 .arg(f->command)
                 .arg(f->hasRule)
                 .arg(f->leftDelimiter, f->rightDelimiter)
                 .arg(f->forcedLevel ? int(*f->forcedLevel) : -1)
            + describe(f->numerator) + describe(f->denominator);
    if (const auto *r = dynamic_cast<const Math::RadicalAtom *>(&atom))
        d += QStringLiteral(" root") + describe(r->degree) + describe(r->radicand);
    if (const auto *op = dynamic_cast<const Math::LargeOperatorAtom *>(&atom))
        d += QStringLiteral(" op named%1 display%2 limits%3").arg(op->named).arg(op->limitsInDisplay).arg(int(op->limits));
    if (const auto *inner = dynamic_cast<const Math::InnerAtom *>(&atom)) {
        d += QStringLiteral(" inner") + inner->delimiters.join(QLatin1Char(' '));
        for (const auto &part : inner->parts)
            d += describe(part);
    }
    if (const auto *a = dynamic_cast<const Math::AccentAtom *>(&atom))
        d += QStringLiteral(" \\%1 wide%2 below%3").arg(a->command).arg(a->wide).arg(a->below) + describe(a->accentee);
    if (const auto *l = dynamic_cast<const Math::LineAtom *>(&atom))
        d += QStringLiteral(" line%1").arg(l->over) + describe(l->inner);
    if (const auto *t = dynamic_cast<const Math::TableAtom *>(&atom)) {
        d += QStringLiteral(" %1{%2} plain%3").arg(t->environment, t->alignments).arg(t->plainTeX);
        for (const auto &row : t->rows) {
            d += QStringLiteral(" row");
            for (const auto &cell : row)
                d += describe(cell);
        }
    }
    if (const auto *s = dynamic_cast<const Math::StyleAtom *>(&atom))
        d += QStringLiteral(" level%1").arg(int(s->level));
    if (const auto *s = dynamic_cast<const Math::SpaceAtom *>(&atom))
        d += QStringLiteral(" %1mu %2").arg(s->mu, 0, 'g', 10).arg(s->command);
    return d + QStringLiteral(" _") + describe(atom.subscript) + QStringLiteral(" ^") + describe(atom.superscript);
}

QString describe(const Math::AtomList &list)
{
    QStringList atoms;
    for (const auto &atom : list)
        atoms.append(describe(*atom));
    return QLatin1Char('[') + atoms.join(QStringLiteral(", ")) + QLatin1Char(']');
}

// The written form parses back to the atoms it was written from, and writes itself again unchanged.
void expectRoundTrip(const QString &latex)
{
    const Math::AtomList atoms = Math::Parser::parse(latex);
    const QString written = Math::Writer::write(atoms);
    try {
        EXPECT_EQ(describe(Math::Parser::parse(written)), describe(atoms)) << latex.toStdString() << " written as " << written.toStdString();
        EXPECT_EQ(roundTrip(written), written) << latex.toStdString();
    } catch (const Math::ParserError &e) {
        ADD_FAILURE() << "written form does not parse: " << e.what() << "\n  from " << latex.toStdString();
    }
}

} // namespace

TEST(MathWriter, WritesLaTeXThatParsesBackToTheSameAtoms)
{
    const char *const formulas[] = {
        "x^2_{i} + \\alpha'' \\leq \\frac{1}{2}",
        "{a \\over b} {n \\choose k} \\binom{n}{k} \\dfrac{a}{b}",
        "\\sqrt[3]{x} \\sqrt{\\sum_{i=1}^n i}",
        "\\left( \\frac{a}{b} \\middle| c \\right. \\Bigl[ x \\Bigr]",
        "\\hat{x} \\widetilde{xyz} \\overline{AB} \\underline{c} \\overbrace{a+b}^{n} \\underbrace{c}_{m}",
        "\\mathbb{R} \\mathbf{v} {\\cal L} \\mathrm{d}x \\mathfrak{g} \\mathsf{A} \\mathtt{t}",
        "\\text{if } x \\mbox{ and } y \\operatorname{Tr} \\operatorname*{argmax}_x",
        "a\\,b\\;c\\!d\\quad e\\qquad f~g \\hspace{1cm} h",
        "\\displaystyle \\sum\\limits_{i} \\int\\nolimits_0^1 \\textstyle x \\scriptstyle y",
        "\\begin{pmatrix} a & b \\\\ c & d \\end{pmatrix} \\begin{array}{lr} 1 & 2 \\end{array}",
        "f = \\begin{cases} 1 & x > 0 \\\\ 0 & \\text{otherwise} \\end{cases}",
        "\\begin{aligned} a &= b \\\\ &= c \\end{aligned} \\pmatrix{1 & 0 \\cr 0 & 1 \\cr}",
        "\\stackrel{def}{=} \\not= \\not\\in \\mathop{\\rm Res}_{z} \\mathrel{:=} \\phantom{x}",
        "\\{ x \\} \\langle a | b \\rangle \\lbrace \\Vert",
        // A negated letter that has no command of its own, nor its negation.
        "\\not\u00e9 \\not a \\not\\alpha \\mathbf{\\not b} \\not\\text{c} \\not{x_1}",
        // \not before a construction puts a slash before it and keeps the construction.
        "\\not\\hat{x} \\not\\sum \\not\\frac{1}{2} \\not{} y \\not\\bigl( \\not{ab}",
        // Text keeps every space it was given.
        "\\text{a\\,\\,b} \\text{ c\\ \\  d } \\text{e}\\text{ }\\text{ f}",
        // Empty rows and cells, at the end too.
        "\\\\\\\\",
        "a \\\\ \\\\",
        "\\begin{matrix} \\\\ \\\\ \\end{matrix} \\begin{cases} a & \\\\ & \\\\ \\end{cases}",
    };
    for (const char *f : formulas)
        expectRoundTrip(QString::fromUtf8(f));
}

TEST(MathWriter, CorpusFormulasSurviveARoundTrip)
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/math/im2markup_sample_formulas_1200.lst"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int checked = 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString latex = QString::fromUtf8(line).trimmed();
        try {
            Math::Parser::parse(latex);
        } catch (const Math::ParserError &) {
            continue; // counted by the typesetting test
        }
        expectRoundTrip(latex);
        ++checked;
    }
    EXPECT_GT(checked, 1100);
}

TEST(MathWriter, WritesOneNormalFormPerConstruction)
{
    const std::pair<const char *, const char *> cases[] = {
        {"\\frac12", "\\frac {1}{2}"},
        {"x'", "x^{\\prime }"},
        {"a_1^2", "a_{1}^{2}"},
        {"\\le \\leq", "\\leq \\leq"},
        {"\\sqrt[n]x", "\\sqrt[n]{x}"},
        {"\\left(x\\right.", "\\left (x\\right ."},
        {"{\\rm d}x", "{\\mathrm{d}}x"},
        {"\\mathrm{dx}", "{\\mathrm{d}\\mathrm{x}}"},
        {"\\text{a b}", "\\text{a b}"},
        {"\\not=", "\\neq"},
        {"\\bigl( x \\bigr)", "\\bigl(x\\bigr)"},
        {"\\,\\quad", "\\,\\quad"},
        {"\\operatorname{Ad}", "\\operatorname{Ad}"},
        {"\\label{x} \\nonumber y", "y"},
        {"\\not\u00e9", "\\not \u00e9"},
        {"\\not\\text{c}", "\\not\\text{c}"},
        {"\\not\\equiv", "\\not\\equiv"},
        {"\\not\\hat{x} \\not\\sum", "\\not{}\\hat {x}\\not{}\\sum"},
        {"\\text{a\\,\\,b}", "\\text{a \\ b}"},
        {"\\\\\\\\", "\\begin{gathered}\\\\\\\\\\end{gathered}"},
        {"a \\dagger \\dag \\ldotp \\colon \\lvert", "a\\dagger \\dag \\ldotp \\colon \\lvert"},
        {"\\hbox{\\hskip 1cm}", "\\hspace{51.21504mu}"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(roundTrip(QString::fromUtf8(input)), QString::fromUtf8(expected)) << input;
}

TEST(MathWriter, EscapesTextThatWouldReadAsCommands)
{
    const QString written = roundTrip(QStringLiteral("\\text{50\\% of \\$5 \\& \\{x\\}}"));
    EXPECT_EQ(written, QStringLiteral("\\text{50\\% of \\$5 \\& \\{x\\}}"));
    // A row starting with [ cannot be taken for the spacing argument of the \\ before it.
    const QString rows = roundTrip(QStringLiteral("\\begin{array}{c} a \\\\ \\relax [b] \\end{array}"));
    EXPECT_EQ(roundTrip(rows), rows);
    EXPECT_TRUE(rows.contains(QStringLiteral("\\relax")));
}
