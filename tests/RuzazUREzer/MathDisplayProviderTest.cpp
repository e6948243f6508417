#include "MathDisplayProvider.h"
#include "MathDisplayTree.h"
#include "MathFontRegistry.h"
#include "MathTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <future>

TEST(MathDisplayProvider, RemembersTreesPerFormulaSizeAndStyle)
{
    Math::DisplayProvider provider(2);
    const auto a = provider.display(QStringLiteral("x^2"), 20, Math::Style::display);
    ASSERT_NE(a.tree, nullptr);
    EXPECT_EQ(provider.display(QStringLiteral("x^2"), 20, Math::Style::display).tree, a.tree);
    EXPECT_NE(provider.display(QStringLiteral("x^2"), 30, Math::Style::display).tree, a.tree);
    EXPECT_NE(provider.display(QStringLiteral("x^2"), 20, Math::Style::text).tree, a.tree);
    // Beyond its capacity it forgets the oldest and typesets again, to an equal tree.
    const auto again = provider.display(QStringLiteral("x^2"), 20, Math::Style::display);
    EXPECT_DOUBLE_EQ(again.tree->width, a.tree->width);

    const auto bad = provider.display(QStringLiteral("\\frac{"), 20, Math::Style::display);
    EXPECT_EQ(bad.tree, nullptr);
    EXPECT_TRUE(bad.error.contains(QStringLiteral("offset")));
}

TEST(MathDisplayProvider, SizesThatCannotBeDrawnAreClampedOrRefused)
{
    Math::DisplayProvider provider;
    const auto largest = provider.display(QStringLiteral("x"), Math::maxFontSize, Math::Style::display);
    ASSERT_NE(largest.tree, nullptr);
    EXPECT_NE(largest.drawing, nullptr);
    EXPECT_DOUBLE_EQ(provider.display(QStringLiteral("x"), 1e12, Math::Style::display).tree->width, largest.tree->width);
    for (const qreal size : {0.0, -3.0, std::nan(""), qInf()}) {
        const auto none = provider.display(QStringLiteral("x"), size, Math::Style::display);
        EXPECT_EQ(none.tree, nullptr) << size;
        EXPECT_EQ(none.drawing, nullptr) << size;
        EXPECT_FALSE(none.error.isEmpty()) << size;
    }
}

TEST(MathDisplayProvider, WithoutTheFontGivesNoTree)
{
    Math::DisplayProvider provider;
    Math::FontRegistry::overrideShared(nullptr);
    const auto none = provider.display(QStringLiteral("x"), 20, Math::Style::display);
    Math::FontRegistry::clearOverride();
    EXPECT_EQ(none.tree, nullptr);
    EXPECT_FALSE(none.error.isEmpty());
    EXPECT_NE(provider.display(QStringLiteral("x"), 20, Math::Style::display).tree, nullptr);
}

TEST(MathDisplayProvider, ServesSeveralThreads)
{
    Math::DisplayProvider provider(8);
    const auto work = [&provider](int seed) {
        qreal total = 0;
        for (int i = 0; i < 200; ++i) {
            const QString latex = QStringLiteral("\\frac{%1}{x_%2}").arg((i + seed) % 12).arg(i % 5);
            total += provider.display(latex, 20, Math::Style::display).tree->width;
        }
        return total > 0;
    };
    std::vector<std::future<bool>> runs;
    for (int i = 0; i < 4; ++i)
        runs.push_back(std::async(std::launch::async, work, i));
    for (auto &run : runs)
        EXPECT_TRUE(run.get());
}
