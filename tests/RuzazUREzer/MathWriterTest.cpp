#include "MathParser.h"
#include "MathWriter.h"
#include "MathTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString roundTrip(const QString &latex)
{
    return Math::Writer::write(Math::Parser::parse(latex));
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
    };
    for (const char *f : formulas) {
        const QString once = roundTrip(QString::fromUtf8(f));
        EXPECT_EQ(roundTrip(once), once) << f;
    }
}

TEST(MathWriter, CorpusFormulasSurviveARoundTrip)
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/math/im2markup_sample_formulas_1200.lst"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    int checked = 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString latex = QString::fromUtf8(line).trimmed();
        QString once;
        try {
            once = roundTrip(latex);
        } catch (const Math::ParserError &) {
            continue; // counted by the typesetting test
        }
        QString twice;
        try {
            twice = roundTrip(once);
        } catch (const Math::ParserError &e) {
            ADD_FAILURE() << "written form does not parse: " << e.what() << "\n  from " << latex.toStdString();
            continue;
        }
        EXPECT_EQ(twice, once) << latex.toStdString();
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
