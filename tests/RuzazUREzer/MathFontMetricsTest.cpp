#include "MathFontMetrics.h"
#include "MathFontRegistry.h"
#include "MathFontTable.h"
#include "MathTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <future>

namespace {

// hb_ot_math_constant_t values.
constexpr int kScriptPercentScaleDown = 0;
constexpr int kScriptScriptPercentScaleDown = 1;
constexpr int kAxisHeight = 5;
constexpr int kFractionRuleThickness = 38;

Math::FontMetrics metrics(qreal size)
{
    return Math::FontMetrics(*Math::FontRegistry::shared(), size);
}

} // namespace

TEST(MathFontMetrics, ConstantsScaleWithTheSizeAndPercentagesDoNot)
{
    const auto small = metrics(10);
    const auto large = metrics(40);
    EXPECT_NEAR(large.constant(kAxisHeight), 4 * small.constant(kAxisHeight), 1e-9);
    EXPECT_GT(small.constant(kAxisHeight), 0);
    EXPECT_GT(small.constant(kFractionRuleThickness), 0);
    EXPECT_EQ(small.percent(kScriptPercentScaleDown), large.percent(kScriptPercentScaleDown));
    EXPECT_GT(small.percent(kScriptPercentScaleDown), small.percent(kScriptScriptPercentScaleDown));
    EXPECT_DOUBLE_EQ(large.mu(), 40.0 / 18);
}

TEST(MathFontMetrics, GlyphBoxesAndCorrections)
{
    const auto m = metrics(100);
    const auto x = m.box(m.glyph(0x1D465));
    EXPECT_GT(x.advance, 30);
    EXPECT_GT(x.ascent, 30);
    EXPECT_NEAR(x.descent, 0, 2);
    const auto g = m.box(m.glyph(0x1D454));
    EXPECT_GT(g.descent, 10) << "italic g has a descender";
    // Italic f leans far right; upright letters need little.
    EXPECT_GT(m.italicCorrection(m.glyph(0x1D453)), 0);
    EXPECT_GT(m.italicCorrection(m.glyph(0x1D453)), 5 * m.italicCorrection(m.glyph('x')));
    EXPECT_TRUE(m.topAccentAttachment(m.glyph(0x1D465)).has_value());
    // Primes come in a large form for scripts, which the font's ssty feature selects.
    const auto &font = *Math::FontRegistry::shared();
    EXPECT_NE(font.scriptGlyph(0x2032, 1), font.glyph(0x2032));
    EXPECT_EQ(font.scriptGlyph(0x2032, 1), font.scriptGlyph(0x2032, 1));
    EXPECT_EQ(m.scriptGlyph('+', 0), m.glyph('+'));
    // Unknown glyphs and characters do not fail.
    EXPECT_EQ(m.glyph(0x10FFFF), 0u);
    EXPECT_EQ(m.box(999999).advance, 0);
}

TEST(MathFontMetrics, StretchyGlyphsGrowThroughVariantsThenAssemblies)
{
    const auto m = metrics(20);
    for (const char32_t c : {char32_t('('), char32_t('{'), char32_t('|'), char32_t(0x221A), char32_t(0x222B)}) {
        const auto variants = m.variants(m.glyph(c), true);
        ASSERT_GE(variants.size(), 2u) << std::hex << quint32(c);
        for (std::size_t i = 1; i < variants.size(); ++i)
            EXPECT_GE(variants[i].size, variants[i - 1].size) << std::hex << quint32(c);
    }
    const auto parts = m.assembly(m.glyph('('), true);
    ASSERT_GE(parts.size(), 3u);
    EXPECT_TRUE(std::any_of(parts.begin(), parts.end(), [](const auto &p) { return p.extender; }));
    EXPECT_FALSE(m.assembly(m.glyph(0x23DE), false).empty()) << "over brace assembles horizontally";
    EXPECT_FALSE(m.variants(m.glyph(0x302), false).empty()) << "wide hat";
    EXPECT_GE(m.minConnectorOverlap(true), 0);
}

TEST(MathFontMetrics, ExtentsCacheAgreesAcrossThreadsAndWithAFreshLoad)
{
    QFile file(QStringLiteral("/usr/share/texmf/fonts/opentype/public/lm-math/latinmodern-math.otf"));
    if (!file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "fonts-lmodern not installed";
    const auto fresh = Math::FontTable::fromData(file.readAll());
    ASSERT_NE(fresh, nullptr);
    const auto shared = Math::FontRegistry::shared();
    const auto sweep = [](const Math::FontTable *font) {
        std::vector<int> values;
        for (quint32 g = 0; g < 3000; g += 7) {
            const auto e = font->extents(g);
            values.insert(values.end(), {e.advance, e.top, e.bottom});
        }
        return values;
    };
    std::vector<std::future<std::vector<int>>> runs;
    for (int i = 0; i < 4; ++i)
        runs.push_back(std::async(std::launch::async, sweep, fresh.get()));
    const auto expected = sweep(shared.get());
    for (auto &run : runs)
        EXPECT_EQ(run.get(), expected);
}
