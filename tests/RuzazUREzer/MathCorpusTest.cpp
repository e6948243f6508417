// Real formulas from arXiv papers, as their authors wrote them.
#include "MathDisplayTree.h"
#include "MathFontRegistry.h"
#include "MathParser.h"
#include "MathTestSupport.h"
#include "MathTypesetter.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <future>
#include <iostream>

namespace {

QStringList corpus()
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/math/im2markup_sample_formulas_1200.lst"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList formulas;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString formula = QString::fromUtf8(line).trimmed();
        if (!formula.isEmpty())
            formulas.append(formula);
    }
    return formulas;
}

// Empty when the formula typesets; otherwise the parser's message.
QString typesetOne(const Math::Typesetter &typesetter, const QString &formula, qreal *height = nullptr)
{
    try {
        const auto tree = typesetter.typeset(Math::Parser::parse(formula), Math::Atom::Level::display);
        if (!std::isfinite(tree->width) || !std::isfinite(tree->ascent) || !std::isfinite(tree->descent))
            return QStringLiteral("layout is not finite");
        if (height)
            *height = tree->height();
        return {};
    } catch (const Math::ParserError &e) {
        return e.message();
    }
}

} // namespace

TEST(MathCorpus, NearlyAllFormulasTypesetAndEveryFailureNamesItsCause)
{
    const QStringList formulas = corpus();
    ASSERT_GT(formulas.size(), 1190);
    const Math::Typesetter typesetter(Math::FontRegistry::shared(), 20);
    int failures = 0;
    for (qsizetype i = 0; i < formulas.size(); ++i) {
        qreal height = 0;
        const QString error = typesetOne(typesetter, formulas[i], &height);
        if (error.isEmpty()) {
            // Only a formula that is all comment or label may come out empty.
            if (!formulas[i].contains(QLatin1Char('%'))) {
                EXPECT_GT(height, 0) << formulas[i].toStdString();
            }
            continue;
        }
        ++failures;
        // Every message says what went wrong and where.
        EXPECT_TRUE(error.contains(QStringLiteral(" at offset "))) << error.toStdString();
        std::cout << "  not typeset: " << error.toStdString() << "\n";
    }
    const double rate = 1.0 - double(failures) / double(formulas.size());
    std::cout << formulas.size() - failures << " of " << formulas.size() << " formulas typeset (" << rate * 100 << "%)\n";
    EXPECT_GE(rate, 0.97);
}

TEST(MathCorpus, TypesettingFromSeveralThreadsAgrees)
{
    const QStringList formulas = corpus();
    const auto run = [&formulas] {
        const Math::Typesetter typesetter(Math::FontRegistry::shared(), 20);
        std::vector<qreal> heights;
        for (const QString &f : formulas) {
            qreal h = -1;
            typesetOne(typesetter, f, &h);
            heights.push_back(h);
        }
        return heights;
    };
    std::vector<std::future<std::vector<qreal>>> results;
    for (int i = 0; i < 4; ++i)
        results.push_back(std::async(std::launch::async, run));
    const auto first = results.front().get();
    for (std::size_t i = 1; i < results.size(); ++i)
        EXPECT_EQ(results[i].get(), first);
}

TEST(MathCorpus, DamagedFormulasNeverCrash)
{
    // Truncated and scrambled real formulas: unbalanced braces, dangling commands, stray
    // delimiters. Each either typesets or fails with a message.
    const QStringList formulas = corpus();
    const Math::Typesetter typesetter(Math::FontRegistry::shared(), 20);
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int failed = 0;
    int tried = 0;
    for (const QString &formula : formulas) {
        for (int variant = 0; variant < 4; ++variant) {
            QString damaged = formula;
            if (variant == 0) {
                damaged.truncate(qsizetype(next() % std::uint32_t(formula.size() + 1)));
            } else if (variant == 1) {
                for (int i = 0; i < 3 && !damaged.isEmpty(); ++i)
                    damaged.remove(qsizetype(next() % std::uint32_t(damaged.size())), 1);
            } else if (variant == 2) {
                const char *inserts[] = {"{", "}", "\\left(", "\\right)", "^", "_", "&", "\\\\", "\\frac", "\\begin{array}{c}"};
                damaged.insert(qsizetype(next() % std::uint32_t(damaged.size() + 1)), QLatin1String(inserts[next() % 10]));
            } else {
                std::reverse(damaged.begin(), damaged.end());
            }
            ++tried;
            const QString error = typesetOne(typesetter, damaged);
            if (!error.isEmpty()) {
                ++failed;
                EXPECT_TRUE(error.contains(QStringLiteral(" at offset "))) << error.toStdString();
            }
        }
    }
    std::cout << failed << " of " << tried << " damaged formulas refused with a message\n";
}
