#include "MathAtomKinds.h"
#include "MathParser.h"
#include "MathTestSupport.h"

#include <gtest/gtest.h>

#include <deque>

using Type = Math::Atom::Type;
using Code = Math::ParserError::Code;

namespace {

// Parsed lists stay alive for the whole test so that references into them remain valid.
const Math::AtomList &parse(const char *latex)
{
    static std::deque<Math::AtomList> kept;
    kept.push_back(Math::Parser::parse(QString::fromUtf8(latex)));
    return kept.back();
}

Math::ParserError parseError(const char *latex)
{
    try {
        Math::Parser::parse(QString::fromUtf8(latex));
    } catch (const Math::ParserError &e) {
        return e;
    }
    ADD_FAILURE() << "no error for " << latex;
    return Math::ParserError(Code::unknownCommand, QString(), QString(), 0);
}

template<typename T>
const T &as(const Math::Atom &atom)
{
    const auto *p = dynamic_cast<const T *>(&atom);
    EXPECT_NE(p, nullptr);
    return *p;
}

} // namespace

TEST(MathParser, CharactersTakeTheirTeXClass)
{
    const auto &list = parse("a+b=c,(d)!");
    const Type expected[] = {Type::ordinary, Type::binary, Type::ordinary, Type::relation, Type::ordinary,
                             Type::punctuation, Type::open, Type::ordinary, Type::close, Type::close};
    ASSERT_EQ(list.size(), std::size(expected));
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list.at(i).type(), expected[i]) << i;
}

TEST(MathParser, CommandsMapToSymbolsOperatorsAndNamedFunctions)
{
    const auto &list = parse("\\alpha\\leq\\Gamma\\times\\sum\\sin\\infty");
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list.at(0).nucleus, QString(QChar(0x3B1)));
    EXPECT_EQ(list.at(1).type(), Type::relation);
    EXPECT_EQ(list.at(2).nucleus, QString(QChar(0x393)));
    EXPECT_EQ(list.at(3).type(), Type::binary);
    EXPECT_FALSE(as<Math::LargeOperatorAtom>(list.at(4)).named);
    EXPECT_TRUE(as<Math::LargeOperatorAtom>(list.at(4)).limitsInDisplay);
    EXPECT_TRUE(as<Math::LargeOperatorAtom>(list.at(5)).named);
    EXPECT_FALSE(as<Math::LargeOperatorAtom>(list.at(5)).limitsInDisplay);
    EXPECT_EQ(list.at(6).type(), Type::ordinary);
}

TEST(MathParser, ScriptsAttachToThePreviousAtom)
{
    const auto &list = parse("x^2_{i+1} {}_\\nu y'' z'^2");
    ASSERT_EQ(list.size(), 4u);
    ASSERT_TRUE(list.at(0).superscript && list.at(0).subscript);
    EXPECT_EQ(list.at(0).subscript->size(), 3u);
    EXPECT_TRUE(list.at(1).group && list.at(1).group->isEmpty());
    EXPECT_TRUE(list.at(1).subscript);
    EXPECT_EQ(list.at(2).superscript->size(), 2u);
    // The prime and the explicit superscript share one superscript.
    ASSERT_TRUE(list.at(3).superscript);
    EXPECT_EQ(list.at(3).superscript->size(), 2u);
    EXPECT_EQ(parse("\\sum\\limits_{i}").size(), 1u);
    EXPECT_EQ(as<Math::LargeOperatorAtom>(parse("\\int\\limits_0^1").at(0)).limits,
              Math::LargeOperatorAtom::Limits::limits);
}

TEST(MathParser, FractionsInLaTeXAndTeXSyntax)
{
    const auto &frac = parse("\\frac12");
    const auto &f = as<Math::FractionAtom>(frac.at(0));
    EXPECT_EQ(f.numerator.size(), 1u);
    EXPECT_EQ(f.denominator.size(), 1u);
    EXPECT_TRUE(f.hasRule);

    const auto &over = parse("{a+b \\over c}");
    const auto &group = *over.at(0).group;
    const auto &o = as<Math::FractionAtom>(group.at(0));
    EXPECT_EQ(o.numerator.size(), 3u);
    EXPECT_EQ(o.denominator.size(), 1u);

    const auto &choose = as<Math::FractionAtom>(parse("n \\choose k").at(0));
    EXPECT_FALSE(choose.hasRule);
    EXPECT_EQ(choose.leftDelimiter, QStringLiteral("("));
    EXPECT_EQ(as<Math::FractionAtom>(parse("\\binom{n}{k}").at(0)).rightDelimiter, QStringLiteral(")"));
    EXPECT_EQ(as<Math::FractionAtom>(parse("\\dfrac{1}{2}").at(0)).forcedLevel, Math::Atom::Level::display);
    EXPECT_FALSE(as<Math::FractionAtom>(parse("a\\atop b").at(0)).hasRule);
}

TEST(MathParser, RadicalsDelimitersAndAccents)
{
    const auto &root = as<Math::RadicalAtom>(parse("\\sqrt[3]{x+1}").at(0));
    ASSERT_TRUE(root.degree);
    EXPECT_EQ(root.radicand.size(), 3u);
    EXPECT_FALSE(as<Math::RadicalAtom>(parse("\\sqrt x").at(0)).degree);

    const auto &inner = as<Math::InnerAtom>(parse("\\left( a \\middle| b \\right.").at(0));
    ASSERT_EQ(inner.parts.size(), 2u);
    EXPECT_EQ(inner.delimiters, (QStringList{QStringLiteral("("), QStringLiteral("|"), QString()}));
    EXPECT_EQ(as<Math::InnerAtom>(parse("\\left\\langle x\\right\\rbrace").at(0)).delimiters.last(), QStringLiteral("}"));

    const auto &big = parse("\\Bigl( x \\bigr]");
    EXPECT_EQ(big.at(0).delimiterSize, 2);
    EXPECT_EQ(big.at(0).type(), Type::open);
    EXPECT_EQ(big.at(2).type(), Type::close);

    EXPECT_TRUE(as<Math::AccentAtom>(parse("\\widehat{xyz}").at(0)).wide);
    EXPECT_EQ(as<Math::AccentAtom>(parse("\\vec x").at(0)).accentee.size(), 1u);
    EXPECT_TRUE(as<Math::LineAtom>(parse("\\overline{AB}").at(0)).over);
    EXPECT_FALSE(as<Math::LineAtom>(parse("\\underline{AB}").at(0)).over);
    // Braces take their annotation as a limit.
    const auto &brace = parse("\\overbrace{a+b}^{n}");
    EXPECT_EQ(brace.at(0).type(), Type::largeOperator);
    EXPECT_TRUE(brace.at(0).superscript);
}

TEST(MathParser, NotNegatesASymbolAndSetsASlashBeforeAnythingElse)
{
    const QString slash(QChar(0x29F8));
    const QString combining(QChar(0x338));
    // A symbol becomes its negated character, or itself with a combining slash, as a relation.
    const std::pair<const char *, QString> symbols[] = {
        {"\\not=", QStringLiteral("\u2260")},
        {"\\not\\in", QStringLiteral("\u2209")},
        {"\\not a", QStringLiteral("a") + combining},
        {"\\not\u00e9", QStringLiteral("\u00e9") + combining},
        {"\\not\\alpha", QStringLiteral("\u03b1") + combining},
        {"\\not{+}", QStringLiteral("+") + combining},
    };
    for (const auto &[latex, nucleus] : symbols) {
        const auto &list = parse(latex);
        ASSERT_EQ(list.size(), 1u) << latex;
        EXPECT_EQ(list.at(0).type(), Type::relation) << latex;
        EXPECT_EQ(list.at(0).nucleus, nucleus) << latex;
    }
    // Anything else keeps its kind and gets the slash, a relation of its own, before it.
    const std::pair<const char *, Type> others[] = {
        {"\\not\\hat{x}", Type::accent},
        {"\\not\\sum", Type::largeOperator},
        {"\\not\\frac{1}{2}", Type::fraction},
        {"\\not{\\mathrel{x}}", Type::relation},
        {"\\not\\bigl(", Type::open},
        {"\\not\\strut", Type::ordinary},
    };
    for (const auto &[latex, kind] : others) {
        const auto &list = parse(latex);
        ASSERT_EQ(list.size(), 2u) << latex;
        EXPECT_EQ(list.at(0).type(), Type::relation) << latex;
        EXPECT_EQ(list.at(0).nucleus, slash) << latex;
        EXPECT_EQ(list.at(1).type(), kind) << latex;
    }
    EXPECT_EQ(as<Math::AccentAtom>(parse("\\not\\hat{x}").at(1)).accentee.size(), 1u);
    EXPECT_EQ(parse("\\not{ab}").size(), 3u);
    EXPECT_EQ(parse("\\not{}").size(), 1u);
}

TEST(MathParser, FontStylesTextAndSpacing)
{
    using FontStyle = Math::Atom::FontStyle;
    const auto &list = parse("\\mathbb{R} {\\rm d} x \\mathcal L");
    EXPECT_EQ(list.at(0).fontStyle, FontStyle::blackboard);
    EXPECT_EQ(list.at(1).group->at(0).fontStyle, FontStyle::roman);
    // \rm ends with its group.
    EXPECT_EQ(list.at(2).fontStyle, FontStyle::defaultStyle);
    EXPECT_EQ(list.at(3).fontStyle, FontStyle::calligraphic);

    const auto &text = parse("\\text{if } x \\mbox{for $y$}");
    EXPECT_EQ(text.at(0).fontStyle, FontStyle::text);
    EXPECT_EQ(text.at(2).nucleus, QStringLiteral(" "));
    EXPECT_EQ(text.last()->nucleus, QStringLiteral("y"));
    EXPECT_EQ(text.last()->fontStyle, FontStyle::defaultStyle);

    const auto &op = as<Math::LargeOperatorAtom>(parse("\\operatorname{Tr}").at(0));
    EXPECT_TRUE(op.named);
    EXPECT_EQ(op.nucleus, QStringLiteral("Tr"));

    const auto &spaces = parse("\\,\\!\\quad~\\hspace{1cm}\\hskip 2pt");
    ASSERT_EQ(spaces.size(), 6u);
    EXPECT_EQ(as<Math::SpaceAtom>(spaces.at(0)).mu, 3);
    EXPECT_EQ(as<Math::SpaceAtom>(spaces.at(1)).mu, -3);
    EXPECT_EQ(as<Math::SpaceAtom>(spaces.at(2)).mu, 18);
    EXPECT_NEAR(as<Math::SpaceAtom>(spaces.at(4)).mu, 18 * 2.84528, 0.5);
    EXPECT_NEAR(as<Math::SpaceAtom>(spaces.at(5)).mu, 3.6, 1e-9);
}

TEST(MathParser, LabelsTagsAndSizesAreDropped)
{
    EXPECT_EQ(parse("\\label{eq:1} x \\nonumber \\tag{3} \\small").size(), 1u);
    EXPECT_EQ(parse("x % comment } {\n + y").size(), 3u);
}

TEST(MathParser, Environments)
{
    const auto &pm = as<Math::TableAtom>(parse("\\begin{pmatrix} a & b \\\\ c & d \\\\ \\end{pmatrix}").at(0));
    EXPECT_EQ(pm.rows.size(), 2u);
    EXPECT_EQ(pm.columnCount(), 2u);

    const auto &array = as<Math::TableAtom>(parse("\\begin{array}{l|cr} 1 & 2 & 3 \\end{array}").at(0));
    EXPECT_EQ(array.alignments, QStringLiteral("lcr"));
    EXPECT_EQ(array.rows.front().size(), 3u);

    const auto &cases = as<Math::TableAtom>(parse("f = \\begin{cases} 1 & x > 0 \\\\ 0 & \\text{otherwise} \\end{cases}").at(2));
    EXPECT_EQ(cases.rows.size(), 2u);
    EXPECT_EQ(as<Math::TableAtom>(parse("\\begin{aligned} a &= b \\\\ &= c \\end{aligned}").at(0)).rows.size(), 2u);
    EXPECT_EQ(as<Math::TableAtom>(parse("\\begin{eqnarray} a &=& b \\nonumber\\\\ c&=&d \\end{eqnarray}").at(0)).columnCount(), 3u);
    EXPECT_EQ(as<Math::TableAtom>(parse("\\begin{gathered} a \\\\ b \\end{gathered}").at(0)).rows.size(), 2u);
    EXPECT_EQ(as<Math::TableAtom>(parse("\\begin{split} a &= b \\end{split}").at(0)).rows.size(), 1u);

    const auto &plain = as<Math::TableAtom>(parse("\\pmatrix{1 & 0 \\cr 0 & 1 \\cr}").at(0));
    EXPECT_TRUE(plain.plainTeX);
    EXPECT_EQ(plain.rows.size(), 2u);
    // \over inside a cell stays in that cell.
    EXPECT_EQ(as<Math::TableAtom>(parse("\\matrix{a \\over b & c}").at(0)).rows.front().size(), 2u);
}

TEST(MathParser, LinesAtTheTopLevelBecomeRows)
{
    const auto &gathered = as<Math::TableAtom>(parse("a = b \\\\ c = d \\\\").at(0));
    EXPECT_EQ(gathered.environment, QStringLiteral("gathered"));
    EXPECT_EQ(gathered.rows.size(), 2u);
    const auto &aligned = as<Math::TableAtom>(parse("a &= b \\\\ &= c").at(0));
    EXPECT_EQ(aligned.environment, QStringLiteral("aligned"));
    EXPECT_EQ(aligned.columnCount(), 2u);
    EXPECT_EQ(parse("x \\\\").size(), 1u);
    EXPECT_TRUE(parse("").isEmpty());
}

TEST(MathParser, ErrorsNameTheCauseAndThePlace)
{
    const auto unknown = parseError("x + \\foo y");
    EXPECT_EQ(unknown.code(), Code::unknownCommand);
    EXPECT_EQ(unknown.offset(), 4);
    EXPECT_TRUE(unknown.message().contains(QStringLiteral("\\foo"))) << unknown.what();
    EXPECT_TRUE(unknown.message().contains(QStringLiteral("offset 4"))) << unknown.what();

    // Errors in math inside text point into the whole formula.
    const auto inText = parseError("ab \\text{cd $\\foo$}");
    EXPECT_EQ(inText.code(), Code::unknownCommand);
    EXPECT_EQ(inText.offset(), 13);
    EXPECT_EQ(inText.description(), QStringLiteral("Unknown command \\foo"));
    EXPECT_EQ(parseError("\\mbox{\\hspace{3zz}}").offset(), 13);

    EXPECT_EQ(parseError("{x").code(), Code::missingCloseBrace);
    EXPECT_EQ(parseError("x}").code(), Code::unexpectedCloseBrace);
    EXPECT_EQ(parseError("x^").code(), Code::missingArgument);
    EXPECT_EQ(parseError("\\frac{1}").code(), Code::missingArgument);
    EXPECT_EQ(parseError("x^1^2").code(), Code::doubleSuperscript);
    EXPECT_EQ(parseError("x_1_2").code(), Code::doubleSubscript);
    EXPECT_EQ(parseError("a \\over b \\over c").code(), Code::ambiguousFraction);
    EXPECT_EQ(parseError("\\left( x").code(), Code::missingRight);
    EXPECT_EQ(parseError("x \\right)").code(), Code::unexpectedRight);
    EXPECT_EQ(parseError("\\left x \\right)").code(), Code::invalidDelimiter);
    EXPECT_EQ(parseError("\\begin{foo} x \\end{foo}").code(), Code::unknownEnvironment);
    EXPECT_EQ(parseError("\\begin{matrix} x \\end{array}").code(), Code::mismatchedEnvironment);
    EXPECT_EQ(parseError("\\begin{matrix} x").code(), Code::mismatchedEnvironment);
    EXPECT_EQ(parseError("{a & b}").code(), Code::misplacedAlignment);
    EXPECT_EQ(parseError("a \\end{x}").code(), Code::mismatchedEnvironment);
    EXPECT_EQ(parseError("\\hspace{2furlongs}").code(), Code::invalidDimension);
    EXPECT_EQ(parseError("\\hspace{1e300cm}").code(), Code::invalidDimension);
    EXPECT_EQ(parseError("\\hspace{nan pt}").code(), Code::invalidDimension);
    EXPECT_EQ(parseError("x\\limits").code(), Code::misplacedLimits);
    EXPECT_EQ(parseError("\\left(").code(), Code::missingRight);
    EXPECT_EQ(parseError("\\left").code(), Code::invalidDelimiter);
    EXPECT_EQ(parse("x\\").size(), 2u) << "a backslash ending the text is a control space";
}

TEST(MathParser, HostileInputFailsCleanly)
{
    EXPECT_EQ(parseError(std::string(10000, '{').c_str()).code(), Code::tooDeeplyNested);
    std::string scripts;
    for (int i = 0; i < 5000; ++i)
        scripts += "x^{";
    EXPECT_EQ(parseError(scripts.c_str()).code(), Code::tooDeeplyNested);
    std::string lefts;
    for (int i = 0; i < 5000; ++i)
        lefts += "\\left(";
    EXPECT_EQ(parseError(lefts.c_str()).code(), Code::tooDeeplyNested);
    EXPECT_EQ(parseError(std::string(Math::Parser::maxLength + 1, 'x').c_str()).code(), Code::tooLong);
    EXPECT_EQ(parseError(std::string(5000, '}').c_str()).code(), Code::unexpectedCloseBrace);
    // Long but flat input parses.
    EXPECT_EQ(parse(std::string(50000, 'x').c_str()).size(), 50000u);
    for (const char *garbage : {"\\frac", "\\sqrt[", "\\left", "\\begin", "\\begin{", "\\text{", "^", "_{", "\\not",
                                "\\hspace", "\\big", "\\matrix", "\\matrix{", "x^{\\frac{1}", "\\operatorname", "''^"}) {
        try {
            Math::Parser::parse(QString::fromLatin1(garbage));
        } catch (const Math::ParserError &e) {
            EXPECT_FALSE(e.message().isEmpty()) << garbage;
        }
    }
}
