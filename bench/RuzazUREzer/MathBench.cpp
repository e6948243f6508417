// Formula typesetting speed: the whole real-formula corpus, and loading the math font.
#include "MathFontRegistry.h"
#include "MathFontTable.h"
#include "MathParser.h"
#include "MathTypesetter.h"

#include <QFile>
#include <QGuiApplication>
#include <QResource>

#include <benchmark/benchmark.h>

namespace {

QStringList corpus()
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/math/im2markup_sample_formulas_1200.lst"));
    file.open(QIODevice::ReadOnly);
    QStringList formulas;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            formulas.append(QString::fromUtf8(line).trimmed());
    return formulas;
}

void BM_FontLoad(benchmark::State &state)
{
    Math::FontRegistry::shared(); // registers the resource
    QResource resource(Math::FontRegistry::resourcePath());
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(Math::FontTable::fromData(data));
}
BENCHMARK(BM_FontLoad)->Unit(benchmark::kMillisecond);

void BM_FontLoadWithQtFont(benchmark::State &state)
{
    Math::FontRegistry::shared();
    QResource resource(Math::FontRegistry::resourcePath());
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
    for (auto _ : state) {
        const auto font = Math::FontTable::fromData(data);
        benchmark::DoNotOptimize(font->rawFont(20).isValid());
    }
}
BENCHMARK(BM_FontLoadWithQtFont)->Unit(benchmark::kMillisecond);

void BM_CorpusParse(benchmark::State &state)
{
    const QStringList formulas = corpus();
    for (auto _ : state) {
        for (const QString &f : formulas) {
            try {
                benchmark::DoNotOptimize(Math::Parser::parse(f));
            } catch (const Math::ParserError &) {
            }
        }
    }
    state.counters["formulas"] = double(formulas.size());
}
BENCHMARK(BM_CorpusParse)->Unit(benchmark::kMillisecond);

void BM_CorpusParseAndTypeset(benchmark::State &state)
{
    const QStringList formulas = corpus();
    const auto font = Math::FontRegistry::shared();
    for (auto _ : state) {
        const Math::Typesetter typesetter(font, 20);
        for (const QString &f : formulas) {
            try {
                benchmark::DoNotOptimize(typesetter.typeset(Math::Parser::parse(f), Math::Atom::Level::display));
            } catch (const Math::ParserError &) {
            }
        }
    }
    state.counters["formulas"] = double(formulas.size());
}
BENCHMARK(BM_CorpusParseAndTypeset)->Unit(benchmark::kMillisecond);

// The first corpus after start-up, when no glyph extents or script forms are cached yet.
void BM_CorpusWithFreshFont(benchmark::State &state)
{
    const QStringList formulas = corpus();
    Math::FontRegistry::shared();
    QResource resource(Math::FontRegistry::resourcePath());
    const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()), resource.size());
    for (auto _ : state) {
        const Math::Typesetter typesetter(Math::FontTable::fromData(data), 20);
        for (const QString &f : formulas) {
            try {
                benchmark::DoNotOptimize(typesetter.typeset(Math::Parser::parse(f), Math::Atom::Level::display));
            } catch (const Math::ParserError &) {
            }
        }
    }
}
BENCHMARK(BM_CorpusWithFreshFont)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
