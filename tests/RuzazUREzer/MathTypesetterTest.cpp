#include "MathAtomKinds.h"
#include "MathDisplayTree.h"
#include "MathFontMetrics.h"
#include "MathFontRegistry.h"
#include "MathFontTable.h"
#include "MathParser.h"
#include "MathTestSupport.h"
#include "MathTypesetter.h"

#include <QFile>

#include <gtest/gtest.h>

#include <future>

using Role = Math::DisplayNode::Role;
using Level = Math::Atom::Level;

namespace {

constexpr qreal kSize = 40;
// hb_ot_math_constant_t values of the constants the rules below check.
constexpr int kAxisHeight = 5;
constexpr int kSubSuperscriptGapMin = 15;

struct Typeset {
    std::unique_ptr<Math::ListNode> tree;
    std::pair<const Math::DisplayNode *, QPointF> one(Role role, std::size_t index = 0) const
    {
        const auto found = tree->find(role);
        EXPECT_GT(found.size(), index) << "no node with role " << int(role);
        return found.size() > index ? found[index] : std::pair<const Math::DisplayNode *, QPointF>{tree.get(), {}};
    }
};

Typeset typeset(const char *latex, Level level = Level::display)
{
    const auto font = Math::FontRegistry::shared();
    const Math::Typesetter typesetter(font, kSize);
    return {typesetter.typeset(Math::Parser::parse(QString::fromUtf8(latex)), level)};
}

qreal constant(int which)
{
    return Math::FontMetrics(*Math::FontRegistry::shared(), kSize).constant(which);
}

qreal top(const std::pair<const Math::DisplayNode *, QPointF> &n) { return n.second.y() + n.first->ascent; }
qreal bottom(const std::pair<const Math::DisplayNode *, QPointF> &n) { return n.second.y() - n.first->descent; }
qreal left(const std::pair<const Math::DisplayNode *, QPointF> &n) { return n.second.x(); }
qreal right(const std::pair<const Math::DisplayNode *, QPointF> &n) { return n.second.x() + n.first->width; }

} // namespace

TEST(MathTypesetter, EmbeddedFontIsFoundAtRunTime)
{
    const auto font = Math::FontRegistry::shared();
    ASSERT_NE(font, nullptr) << "resource " << Math::FontRegistry::resourcePath().toStdString();
    EXPECT_EQ(font.get(), Math::FontRegistry::shared().get()) << "loaded once and shared";
    EXPECT_NE(font->glyph(0x1D465), 0u) << "math italic x";
    EXPECT_NE(font->glyph(0x1D6FC), 0u) << "math italic alpha";
    EXPECT_NE(font->glyph(0x211D), 0u) << "double-struck R";
    EXPECT_EQ(Math::FontRegistry::load(QStringLiteral("/nonexistent/font.otf")), nullptr);
    EXPECT_EQ(Math::FontTable::fromData(QByteArray("not a font")), nullptr);
}

TEST(MathTypesetter, ScriptsShiftUpAndDownInSmallerSizes)
{
    const auto sup = typeset("x^2");
    const auto s = sup.one(Role::superscript);
    EXPECT_GT(s.second.y(), 0);
    EXPECT_GT(left(s), 0);
    const auto sub = typeset("x_2");
    EXPECT_LT(sub.one(Role::subscript).second.y(), 0);

    const auto both = typeset("x_i^2");
    const auto up = both.one(Role::superscript);
    const auto down = both.one(Role::subscript);
    EXPECT_GE(bottom(up) - top(down), constant(kSubSuperscriptGapMin) - 1e-6);
    // Scripts are set at the script size, scripts of scripts smaller still.
    const auto nested = typeset("x^{y^z}");
    std::vector<qreal> sizes;
    nested.tree->forEachLeaf([&](const Math::DisplayNode &n, QPointF) {
        if (n.kind() == Math::DisplayNode::Kind::glyph)
            sizes.push_back(static_cast<const Math::GlyphNode &>(n).pixelSize);
    });
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_DOUBLE_EQ(sizes[0], kSize);
    EXPECT_LT(sizes[1], sizes[0]);
    EXPECT_LT(sizes[2], sizes[1]);

    // A cramped style (the denominator) raises superscripts less.
    const auto frac = typeset("\\frac{x^2}{x^2}");
    const qreal numeratorRise = frac.one(Role::superscript, 0).second.y() - frac.one(Role::numerator).second.y();
    const qreal denominatorRise = frac.one(Role::superscript, 1).second.y() - frac.one(Role::denominator).second.y();
    EXPECT_GT(numeratorRise, denominatorRise);
}

TEST(MathTypesetter, FractionBarSitsOnTheMathAxis)
{
    for (const Level level : {Level::display, Level::text}) {
        const auto frac = typeset("\\frac{a}{b}", level);
        const auto bar = frac.one(Role::fractionRule);
        EXPECT_NEAR((top(bar) + bottom(bar)) / 2, constant(kAxisHeight), 1e-6);
        EXPECT_GT(bottom(frac.one(Role::numerator)), top(bar));
        EXPECT_LT(top(frac.one(Role::denominator)), bottom(bar));
    }
    // Display style sets numerator and denominator larger and further apart.
    const auto display = typeset("\\frac{a}{b}", Level::display);
    const auto text = typeset("\\frac{a}{b}", Level::text);
    EXPECT_GT(display.tree->height(), text.tree->height());
    // \over builds the same fraction as \frac.
    EXPECT_DOUBLE_EQ(typeset("{a \\over b}").tree->height(), display.tree->height());
    // \binom has no bar but delimiters.
    const auto binom = typeset("\\binom{n}{k}");
    EXPECT_TRUE(binom.tree->find(Role::fractionRule).empty());
    EXPECT_EQ(binom.tree->find(Role::delimiter).size(), 2u);
}

TEST(MathTypesetter, LimitsGoAboveAndBelowInDisplayAndBesideInText)
{
    const auto display = typeset("\\sum_{i=0}^{n} i", Level::display);
    const auto op = display.one(Role::largeOperator);
    const auto upper = display.one(Role::upperLimit);
    const auto lower = display.one(Role::lowerLimit);
    EXPECT_GT(bottom(upper), top(op));
    EXPECT_LT(top(lower), bottom(op));
    EXPECT_LT(left(upper), right(op));
    EXPECT_GT(right(upper), left(op));

    const auto text = typeset("\\sum_{i=0}^{n} i", Level::text);
    EXPECT_TRUE(text.tree->find(Role::upperLimit).empty());
    EXPECT_GE(left(text.one(Role::superscript)), right(text.one(Role::largeOperator)) - 1e-6);
    // The display operator is the larger variant.
    EXPECT_GT(op.first->height(), text.one(Role::largeOperator).first->height());

    // Integrals keep scripts beside them unless \limits asks otherwise; \lim takes limits.
    EXPECT_TRUE(typeset("\\int_0^1").tree->find(Role::upperLimit).empty());
    EXPECT_FALSE(typeset("\\int\\limits_0^1").tree->find(Role::upperLimit).empty());
    EXPECT_FALSE(typeset("\\lim_{x\\to 0}").tree->find(Role::lowerLimit).empty());
    EXPECT_TRUE(typeset("\\sum\\nolimits_0").tree->find(Role::lowerLimit).empty());
    EXPECT_FALSE(typeset("\\overbrace{a+b}^{n}").tree->find(Role::upperLimit).empty());
}

TEST(MathTypesetter, DelimitersGrowWithTheirContent)
{
    const auto small = typeset("\\left( x \\right)");
    const auto tall = typeset("\\left( \\frac{\\frac{a}{b}}{\\frac{c}{d}} \\right)");
    const auto smallDelimiter = small.one(Role::delimiter);
    const auto tallDelimiter = tall.one(Role::delimiter);
    EXPECT_GT(tallDelimiter.first->height(), smallDelimiter.first->height());
    // TeX covers at least 90% of the content.
    EXPECT_GE(tallDelimiter.first->height(), 0.9 * tall.tree->find(Role::numerator)[0].first->height());

    // Beyond the largest variant, the delimiter is assembled from parts.
    std::string deep = "\\left\\{ \\begin{array}{c}";
    for (int i = 0; i < 30; ++i)
        deep += "x\\\\";
    deep += "x \\end{array} \\right.";
    const auto huge = typeset(deep.c_str());
    const auto brace = huge.one(Role::delimiter);
    EXPECT_GT(brace.first->height(), 20 * kSize);
    EXPECT_GE(brace.first->height(), 0.9 * huge.tree->height() - kSize);

    // \big to \Bigg grow in steps.
    qreal previous = 0;
    for (const char *f : {"(", "\\big(", "\\Big(", "\\bigg(", "\\Bigg("}) {
        const auto t = typeset(f);
        EXPECT_GT(t.tree->height(), previous) << f;
        previous = t.tree->height();
    }
    EXPECT_TRUE(typeset("\\left. x \\right|").tree->find(Role::delimiter).size() == 2);
}

TEST(MathTypesetter, RadicalsAccentsAndLines)
{
    const auto root = typeset("\\sqrt{x^2+1}");
    const auto radicand = root.one(Role::radicand);
    const auto bar = root.one(Role::line);
    EXPECT_GT(bottom(bar), top(radicand));
    EXPECT_GE(top(root.one(Role::radicalSign)), top(bar) - 1e-6);
    const auto cube = typeset("\\sqrt[3]{x}");
    EXPECT_LT(left(cube.one(Role::degree)), left(cube.one(Role::radicalSign)) + cube.one(Role::radicalSign).first->width / 2);
    EXPECT_GT(typeset("\\sqrt{\\frac{a}{b}}").one(Role::radicalSign).first->height(), root.one(Role::radicalSign).first->height());

    const auto hat = typeset("\\hat{A}");
    EXPECT_GT(top(hat.one(Role::accent)), typeset("A").tree->ascent);
    const auto wide = typeset("\\widehat{xyzw}");
    EXPECT_GT(wide.one(Role::accent).first->width, typeset("\\hat{x}").one(Role::accent).first->width);
    const auto under = typeset("\\underbrace{a+b+c}_{n}");
    EXPECT_LT(top(under.one(Role::accent)), 0);

    // The scripts of an accented letter hang on the letter (in the accentee's cramped style),
    // not on top of the accent as those of an accented group do.
    const auto accented = typeset("\\hat{x}^2");
    const auto crampedScripted = typeset("\\sqrt{x^2}");
    EXPECT_DOUBLE_EQ(accented.one(Role::superscript).second.y(), crampedScripted.one(Role::superscript).second.y());
    EXPECT_GT(typeset("\\hat{xy}^2").one(Role::superscript).second.y(), accented.one(Role::superscript).second.y() + 2);

    const auto over = typeset("\\overline{x}");
    EXPECT_GT(bottom(over.one(Role::line)), typeset("x").tree->ascent);
    const auto underline = typeset("\\underline{y}");
    EXPECT_LT(top(underline.one(Role::line)), -typeset("y").tree->descent);
}

TEST(MathTypesetter, SpacingFollowsAtomClasses)
{
    const qreal plain = typeset("ab").tree->width;
    const qreal binary = typeset("a+b").tree->width - typeset("a").tree->width - typeset("+").tree->width - typeset("b").tree->width;
    const qreal relation = typeset("a=b").tree->width - typeset("a").tree->width - typeset("=").tree->width - typeset("b").tree->width;
    Q_UNUSED(plain);
    EXPECT_NEAR(binary, 2 * 4 * kSize / 18, 0.5);
    EXPECT_NEAR(relation, 2 * 5 * kSize / 18, 0.5);
    // A leading minus is unary: no space after it.
    EXPECT_NEAR(typeset("-b").tree->width, typeset("-").tree->width + typeset("b").tree->width, 0.5);
    // Script style drops the medium and thick spaces.
    const auto script = typeset("x^{a+b}");
    const auto s = script.one(Role::superscript);
    const auto plainScript = typeset("x^{a\\mathord{+}b}");
    const auto scriptPlain = plainScript.one(Role::superscript);
    EXPECT_NEAR(s.first->width, scriptPlain.first->width, 1e-6);
    // Explicit spaces scale with mu.
    EXPECT_NEAR(typeset("a\\quad b").tree->width - typeset("ab").tree->width, kSize, 1.0);
}

TEST(MathTypesetter, TablesAlignRowsAndColumns)
{
    const auto matrix = typeset("\\begin{pmatrix} a & b \\\\ c & d \\end{pmatrix}");
    const auto cells = matrix.tree->find(Role::cell);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_GT(cells[0].second.y(), cells[2].second.y());
    EXPECT_GT(left(cells[1]), right(cells[0]));
    EXPECT_EQ(matrix.tree->find(Role::delimiter).size(), 2u);
    // The matrix is centred on the axis.
    EXPECT_NEAR((matrix.tree->ascent - matrix.tree->descent) / 2, constant(kAxisHeight), kSize * 0.2);

    const auto cases = typeset("|x| = \\begin{cases} x & x \\geq 0 \\\\ -x & \\text{otherwise} \\end{cases}");
    EXPECT_EQ(cases.tree->find(Role::delimiter).size(), 1u);
    EXPECT_EQ(cases.tree->find(Role::cell).size(), 4u);

    // In aligned, the relations after & line up.
    const auto aligned = typeset("\\begin{aligned} a &= b + c \\\\ a + b + c &= d \\end{aligned}");
    const auto alignedCells = aligned.tree->find(Role::cell);
    ASSERT_EQ(alignedCells.size(), 4u);
    EXPECT_DOUBLE_EQ(left(alignedCells[1]), left(alignedCells[3]));
    EXPECT_DOUBLE_EQ(right(alignedCells[0]), right(alignedCells[2]));
    // "&= b" keeps the relation's space after the empty left side.
    EXPECT_GT(alignedCells[1].first->width, typeset("=b").tree->width + 1);

    const auto eqnarray = typeset("\\begin{eqnarray} x &=& 1 \\nonumber \\\\ y &=& 2 \\end{eqnarray}");
    EXPECT_EQ(eqnarray.tree->find(Role::cell).size(), 6u);
    const auto gathered = typeset("\\begin{gathered} a \\\\ b+c \\end{gathered}");
    EXPECT_EQ(gathered.tree->find(Role::cell).size(), 2u);
}

TEST(MathTypesetter, FontStylesPickTheirAlphabets)
{
    const auto glyphOf = [](const char *latex) {
        quint32 glyph = 0;
        typeset(latex).tree->forEachLeaf([&](const Math::DisplayNode &n, QPointF) {
            if (n.kind() == Math::DisplayNode::Kind::glyph)
                glyph = static_cast<const Math::GlyphNode &>(n).glyph;
        });
        return glyph;
    };
    const auto font = Math::FontRegistry::shared();
    EXPECT_EQ(glyphOf("R"), font->glyph(0x1D445));
    EXPECT_EQ(glyphOf("\\mathbb{R}"), font->glyph(0x211D));
    EXPECT_EQ(glyphOf("\\mathrm{R}"), font->glyph('R'));
    EXPECT_EQ(glyphOf("\\mathbf{R}"), font->glyph(0x1D411));
    EXPECT_EQ(glyphOf("{\\cal L}"), font->glyph(0x2112));
    EXPECT_EQ(glyphOf("\\mathfrak{g}"), font->glyph(0x1D524));
    EXPECT_EQ(glyphOf("\\alpha"), font->glyph(0x1D6FC));
    EXPECT_EQ(glyphOf("\\Gamma"), font->glyph(0x393));
    // \operatorname sets an upright word, like \sin.
    EXPECT_EQ(glyphOf("\\operatorname{Tr}"), font->glyph('r'));
}

TEST(MathTypesetter, DeepButLegalNestingTypesets)
{
    std::string fractions;
    std::string roots;
    for (int i = 0; i < 20; ++i) {
        fractions += "\\frac{1}{1+";
        roots += "\\sqrt{1+";
    }
    fractions += "x" + std::string(20, '}');
    roots += "x" + std::string(20, '}');
    EXPECT_GT(typeset(fractions.c_str()).tree->height(), 0);
    EXPECT_GT(typeset(roots.c_str()).tree->height(), 0);
    // Empty input and empty groups give an empty box, not a failure.
    EXPECT_EQ(typeset("").tree->width, 0);
    EXPECT_GE(typeset("{}^{}_{}\\left.\\right.\\sqrt{}\\frac{}{}").tree->width, 0);
}

TEST(MathTypesetter, StyleCommandsAndForcedFractionStyles)
{
    // \displaystyle inside text style brings back display-size operators and limits.
    const auto text = typeset("\\sum_i", Level::text);
    const auto forced = typeset("\\displaystyle\\sum_i", Level::text);
    EXPECT_GT(forced.tree->height(), text.tree->height());
    EXPECT_FALSE(forced.tree->find(Role::lowerLimit).empty());
    EXPECT_TRUE(typeset("\\textstyle\\sum_i").tree->find(Role::lowerLimit).empty());
    EXPECT_GT(typeset("\\dfrac{a}{b}", Level::text).tree->height(), typeset("\\tfrac{a}{b}", Level::display).tree->height());
    // \scriptstyle sets smaller glyphs than the text around it.
    EXPECT_LT(typeset("\\scriptstyle x").tree->width, typeset("x").tree->width);
    // A matrix inside a superscript is set at script size.
    const auto small = typeset("x^{\\begin{matrix} a \\\\ b \\end{matrix}}");
    EXPECT_LT(small.one(Role::superscript).first->height(), typeset("\\begin{matrix} a \\\\ b \\end{matrix}").tree->height());
}

TEST(MathTypesetter, PhantomsOperatorsAndStackedRelations)
{
    // A phantom takes the room of its content and draws nothing.
    const auto phantom = typeset("\\phantom{xyz}");
    EXPECT_DOUBLE_EQ(phantom.tree->width, typeset("xyz").tree->width);
    int leaves = 0;
    phantom.tree->forEachLeaf([&](const Math::DisplayNode &, QPointF) { ++leaves; });
    EXPECT_EQ(leaves, 0);

    // A thin space separates a named function from its argument; none between letters.
    EXPECT_NEAR(typeset("\\sin x").tree->width - typeset("\\mathrm{sin}x").tree->width, 3 * kSize / 18, 0.5);
    // Binary after a relation is unary.
    EXPECT_NEAR(typeset("a=-b").tree->width,
                typeset("a=").tree->width + typeset("-b").tree->width + 5 * kSize / 18, 0.5);

    // \stackrel puts its annotation above the relation, centred.
    const auto stacked = typeset("a \\stackrel{def}{=} b");
    const auto above = stacked.one(Role::upperLimit);
    EXPECT_GT(bottom(above), 0.3 * kSize);
    EXPECT_GT(stacked.tree->width, typeset("a=b").tree->width);
    EXPECT_FALSE(typeset("\\mathop{\\rm Res}\\limits_{z=0} f").tree->find(Role::lowerLimit).empty());
}
