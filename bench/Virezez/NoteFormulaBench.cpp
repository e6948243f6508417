// What formulas cost a note: laying out a note of many "math" blocks (typesetting them, or
// taking them from the display cache once seen) and painting it, in whole and as one screen.
// The formulas are real ones from arXiv papers, each between two short paragraphs.
#include "StructuredText.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

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
        : document(AttributedStringMarkdownParser(QUrl(), {}, PatternProcessor()).attributedString(note))
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
    const auto parser = AttributedStringMarkdownParser(QUrl(), {}, PatternProcessor());
    const DefaultStyle style;
    for (auto _ : state) {
        const AttributedString doc = parser.attributedString(note);
        const BlockTree tree(doc);
        DocumentLayout layout(doc, tree, style, 600);
        layout.layoutAll();
        benchmark::DoNotOptimize(layout.formulas().size());
    }
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
