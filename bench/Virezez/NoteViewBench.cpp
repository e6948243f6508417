// Parsing and laying out notes: our parser beside QTextDocument::setMarkdown on the same
// text, parse plus layout at 600 px for typical sizes, and the pathological inputs. Parse time
// by size places the view's background threshold; the GUI-thread slices show what a 5 MB note
// costs the window once it is parsed in the background. Last, what formulas cost a note: laying
// out a note of many "math" blocks and painting it, in whole and as one screen.
#include "StructuredText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <QThread>
#include <benchmark/benchmark.h>

namespace {

QString commonMarkText()
{
    QFile f(QStringLiteral(BRIVET_TEST_DATA_DIR "/markdown/commonmark-spec-0.31.2_spec.txt"));
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

// A note of about `bytes` bytes cut from the CommonMark text at a paragraph boundary.
QString noteOf(qsizetype bytes)
{
    static const QString commonMark = commonMarkText();
    QString out;
    while (out.size() < bytes)
        out += commonMark;
    const qsizetype cut = out.lastIndexOf(QStringLiteral("\n\n"), bytes);
    return out.left(cut > 0 ? cut : bytes);
}

AttributedStringMarkdownParser makeParser()
{
    return AttributedStringMarkdownParser(QUrl(), {}, PatternProcessor());
}

void BM_Parse100K(benchmark::State &state)
{
    const QString note = noteOf(100 * 1024);
    const auto parser = makeParser();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.attributedString(note));
}

void BM_Parse5M(benchmark::State &state)
{
    const QString note = noteOf(5 * 1024 * 1024);
    const auto parser = makeParser();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.attributedString(note));
}

void BM_QTextDocumentSetMarkdown100K(benchmark::State &state)
{
    const QString note = noteOf(100 * 1024);
    for (auto _ : state) {
        QTextDocument doc;
        doc.setMarkdown(note);
        benchmark::DoNotOptimize(doc.blockCount());
    }
}

void parseAndLayout(benchmark::State &state, const QString &note)
{
    const auto parser = makeParser();
    const DefaultStyle style;
    for (auto _ : state) {
        const AttributedString doc = parser.attributedString(note);
        const BlockTree tree(doc);
        DocumentLayout layout(doc, tree, style, 600);
        layout.layoutAll();
        benchmark::DoNotOptimize(layout.height());
    }
}

// What the view does on first show of a huge note: parse, then one slice of layout.
void parseAndFirstSlice(benchmark::State &state, const QString &note)
{
    const auto parser = makeParser();
    const DefaultStyle style;
    for (auto _ : state) {
        const AttributedString doc = parser.attributedString(note);
        const BlockTree tree(doc);
        DocumentLayout layout(doc, tree, style, 600);
        layout.layoutFor(12);
        benchmark::DoNotOptimize(layout.height());
    }
}

// Parse time by size, where the view's background threshold sits.
void BM_ParseSize(benchmark::State &state)
{
    const QString note = noteOf(state.range(0) * 1024);
    const auto parser = makeParser();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.attributedString(note));
}

// What the GUI thread spends on a large note handed to a shown view. `setMarkup` is the time
// until control returns to the event loop; `install` is the turn that takes the background
// result in and lays out and paints the first slice. `replace` is setMarkup on a view that
// already shows a 5 MB note, whose document is freed then.
enum class Slice { setMarkup, install, replace, replaceLaidOut };

void waitForDocument(StructuredText &view)
{
    while (BackgroundParse::busy())
        QThread::usleep(200);
    QCoreApplication::sendPostedEvents(&view, QEvent::MetaCall);
}

void guiThreadSlices(benchmark::State &state, Slice slice)
{
    const QString note = noteOf(5 * 1024 * 1024);
    for (auto _ : state) {
        StructuredText view(slice >= Slice::replace ? note + QStringLiteral("\n\nold") : QString());
        view.resize(600, 800);
        view.show();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents(); // exposed, like a view on screen
        waitForDocument(view);
        if (slice == Slice::replaceLaidOut)
            view.finishLayout();
        QElapsedTimer timer;
        timer.start();
        view.setMarkup(note);
        const qint64 setNs = timer.nsecsElapsed();
        while (BackgroundParse::busy())
            QThread::usleep(200);
        timer.restart();
        QCoreApplication::sendPostedEvents(&view, QEvent::MetaCall);
        benchmark::DoNotOptimize(view.heightForWidth(600));
        view.repaint();
        const qint64 installNs = timer.nsecsElapsed();
        if (view.document().isEmpty())
            state.SkipWithError("the document did not arrive");
        state.SetIterationTime(double(slice == Slice::install ? installNs : setNs) / 1e9);
    }
}

// Real formulas from arXiv papers, each between two short paragraphs.
QString formulaNote(int formulas)
{
    QFile file(QStringLiteral(BRIVET_TEST_DATA_DIR "/math/im2markup_sample_formulas_1200.lst"));
    file.open(QIODevice::ReadOnly);
    const QList<QByteArray> lines = file.readAll().split('\n');
    QString note;
    int added = 0;
    for (const QByteArray &line : lines) {
        if (added == formulas)
            break;
        if (line.trimmed().isEmpty())
            continue;
        note += QStringLiteral("Step %1 of the derivation follows.\n\n```math\n").arg(added)
              + QString::fromUtf8(line.trimmed()) + QStringLiteral("\n```\n\n");
        ++added;
    }
    return note;
}

struct LaidOutNote {
    AttributedString document;
    BlockTree tree;
    DefaultStyle style;
    std::unique_ptr<DocumentLayout> layout;

    explicit LaidOutNote(const QString &note)
        : document(makeParser().attributedString(note))
        , tree(document)
    {
        layout = std::make_unique<DocumentLayout>(document, tree, style, 600);
        layout->layoutAll();
    }
};

// Parse and layout; the display cache holds the formulas after the first round, as it does
// when a note is laid out again at another width.
void BM_LayoutFormulaNote(benchmark::State &state)
{
    const QString note = formulaNote(int(state.range(0)));
    parseAndLayout(state, note);
    state.counters["formulas"] = double(LaidOutNote(note).layout->formulas().size());
}

// Painting the whole note; `formulasOnly` paints only its formulas, what a formula costs apart
// from the text around it.
void paintNote(benchmark::State &state, bool formulasOnly, int screenHeight)
{
    const LaidOutNote note(formulaNote(int(state.range(0))));
    const qreal height = screenHeight > 0 ? screenHeight : note.layout->height();
    QImage image(600, int(std::min<qreal>(height, 30000)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    // Drawn over and over on the same image: clearing it would cost more than the drawing.
    for (auto _ : state) {
        QPainter painter(&image);
        if (formulasOnly) {
            for (const MathItem &m : note.layout->formulas()) {
                if (m.rect.top() > height)
                    break;
                m.formula->paint(&painter, m.baseline);
            }
        } else {
            note.layout->paint(&painter, QRectF(0, 0, 600, height));
        }
    }
    state.counters["formulas"] = double(note.layout->formulas().size());
}

void BM_PaintFormulaNote(benchmark::State &state)
{
    paintNote(state, false, 0);
}

void BM_PaintFormulasOnly(benchmark::State &state)
{
    paintNote(state, true, 0);
}

// One 800-pixel screen of the note, as a scrolled view repaints it.
void BM_PaintOneScreen(benchmark::State &state)
{
    paintNote(state, false, 800);
}

// A shown view: set a note of formulas and bring it on screen.
void BM_ShowFormulaNote(benchmark::State &state)
{
    const QString note = formulaNote(int(state.range(0)));
    for (auto _ : state) {
        StructuredText view(note);
        view.resize(600, 800);
        view.show();
        view.finishLayout();
        benchmark::DoNotOptimize(view.grab());
    }
}

} // namespace

BENCHMARK(BM_ParseSize)->Arg(64)->Arg(128)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(guiThreadSlices, setMarkup5M, Slice::setMarkup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(guiThreadSlices, install5M, Slice::install)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(guiThreadSlices, replace5M, Slice::replace)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(guiThreadSlices, replaceLaidOut5M, Slice::replaceLaidOut)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Parse100K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse5M)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTextDocumentSetMarkdown100K)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, note5K, noteOf(5 * 1024))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, note100K, noteOf(100 * 1024))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, nestedQuotes10000, QString(10000, QLatin1Char('>')) + QStringLiteral(" deep"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, nestedLists10000, QStringLiteral("- ").repeated(10000) + QStringLiteral("deep"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, nestedOrdered10000, QStringLiteral("1. ").repeated(10000) + QStringLiteral("deep"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, brackets100000, QString(100000, QLatin1Char('[')))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, linkOpeners25000, QStringLiteral("[a](").repeated(25000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, emphasis100000,
                  QString(50000, QLatin1Char('*')) + QStringLiteral("x") + QString(50000, QLatin1Char('*')))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, backticks100000, QStringLiteral("`a").repeated(50000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, invalidUtf8, QString::fromUtf8(QByteArray(200000, '\xff')))->Unit(benchmark::kMillisecond);
// The GUI-thread share of the heaviest inputs that stay under the background threshold.
BENCHMARK_CAPTURE(parseAndFirstSlice, backticks100000, QStringLiteral("`a").repeated(50000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndFirstSlice, brackets100000, QString(100000, QLatin1Char('[')))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndFirstSlice, nestedOrdered10000, QStringLiteral("1. ").repeated(10000) + QStringLiteral("deep"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndFirstSlice, codeBlock250K,
                  QStringLiteral("```\n") + QStringLiteral("x = f(y) + 1 # ok\n").repeated(14000) + QStringLiteral("```\n"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndFirstSlice, table10000Rows,
                  QStringLiteral("| a | b |\n|---|---|\n") + QStringLiteral("| cell | more |\n").repeated(10000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndFirstSlice, note5M, noteOf(5 * 1024 * 1024))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(parseAndLayout, note5M, noteOf(5 * 1024 * 1024))->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK(BM_LayoutFormulaNote)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFormulaNote)->Arg(20)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintFormulasOnly)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintOneScreen)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowFormulaNote)->Arg(200)->Unit(benchmark::kMillisecond);


int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
