// The note view as a widget: when it parses, what it draws, links, sideways scrolling.
#include "StructuredText.h"

#include <QSignalSpy>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPalette>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString sampleNote()
{
    QFile f(QStringLiteral(BRIVET_SOURCE_DIR "/tests/Virezez/data/sample-note.md"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

// A palette for the view alone; the application's stays dark ink on light.
QPalette paletteOf(QColor window, QColor text)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, window.darker(150));
    p.setColor(QPalette::Text, text);
    return p;
}

QPalette darkPalette()
{
    QPalette p = paletteOf(QColor(30, 30, 30), QColor(230, 230, 230));
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    return p;
}

// Shows the view at a width and lays the whole note out.
void present(StructuredText &view, int width = 600)
{
    view.resize(width, 100);
    view.show();
    view.finishLayout();
    view.resize(width, view.heightForWidth(width));
}

// Pixels within rect whose colour is near wanted: the ink of one colour, antialiased edges aside.
int inkOf(const QImage &image, const QRectF &rect, QColor wanted, int tolerance = 40)
{
    const QRect area = rect.toAlignedRect().intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - wanted.red()) < tolerance && std::abs(c.green() - wanted.green()) < tolerance
                && std::abs(c.blue() - wanted.blue()) < tolerance)
                ++count;
        }
    return count;
}

bool isBlank(const QImage &image)
{
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return false;
    return true;
}

class FailingParser : public MarkupParser {
public:
    AttributedString attributedString(const QString &) const override { throw MarkupParseError("no"); }
};

// Where a piece of text is drawn, in view coordinates.
QPointF positionOf(const StructuredText &view, const QString &needle)
{
    const qsizetype at = view.document().text().indexOf(needle);
    for (const TextItem &t : view.currentLayout()->textItems()) {
        const int local = int(at) - t.textStart;
        if (local < 0 || local >= t.layout->text().size())
            continue;
        const QTextLine line = t.layout->lineForTextPosition(local);
        return t.origin + QPointF(line.cursorToX(local) + 2, line.y() + line.height() / 2);
    }
    return {};
}

} // namespace

TEST(StructuredText, ParsesWhenShownAndWhenTextChanges)
{
    StructuredText view(QStringLiteral("# One"));
    EXPECT_EQ(view.markup(), QStringLiteral("# One"));
    EXPECT_NE(dynamic_cast<const AttributedStringMarkdownParser *>(&view.parser()), nullptr);
    EXPECT_TRUE(view.document().isEmpty()); // the caller never parses
    view.setMarkup(QStringLiteral("## Two"));
    EXPECT_TRUE(view.document().isEmpty()); // still not shown
    present(view);
    ASSERT_EQ(view.blocks().roots().size(), 1u);
    EXPECT_EQ(view.blocks().text(view.document(), 0), QStringLiteral("Two"));
    EXPECT_EQ(view.document().intent(0).level, 2);
    view.setMarkup(QStringLiteral("para\n\n---\n"));
    ASSERT_EQ(view.blocks().roots().size(), 2u);
    EXPECT_EQ(view.blocks().block(1).kind, BlockTree::Kind::thematicBreak);
    EXPECT_GT(view.heightForWidth(600), 0);
}

TEST(StructuredText, ParseFailureDrawsNothing)
{
    StructuredText view(QStringLiteral("# Not shown"));
    view.setParser(std::make_shared<FailingParser>());
    present(view);
    EXPECT_TRUE(view.document().isEmpty());
    EXPECT_TRUE(view.blocks().isEmpty());
    view.resize(300, 80);
    EXPECT_TRUE(isBlank(view.grab().toImage()));
}

TEST(StructuredText, ClickOpensOnlySafeLinks)
{
    StructuredText view(QStringLiteral("[web](https://example.org/a) and [bad](javascript:alert(1)) "
                                       "and [local](file:///etc/passwd)"));
    std::vector<QUrl> opened;
    view.setLinkHandler([&](const QUrl &url) { opened.push_back(url); });
    QSignalSpy refused(&view, &StructuredText::linkRefused);
    present(view);
    for (const char *text : {"bad", "local", "and", "web"}) {
        const QPoint at = positionOf(view, QString::fromLatin1(text)).toPoint();
        QTest::mouseClick(&view, Qt::LeftButton, {}, at);
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/a")));
    // The refused ones are told apart, so that the application can say why nothing opened.
    ASSERT_EQ(refused.size(), 2);
    EXPECT_EQ(refused.at(0).at(0).toUrl(), QUrl(QStringLiteral("javascript:alert(1)")));
    EXPECT_EQ(refused.at(1).at(0).toUrl(), QUrl(QStringLiteral("file:///etc/passwd")));
    // Hovering shows the pointing hand only over the link that can be opened.
    QTest::mouseMove(&view, positionOf(view, QStringLiteral("web")).toPoint());
    EXPECT_EQ(view.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(&view, positionOf(view, QStringLiteral("bad")).toPoint());
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST(StructuredText, WideCodeScrollsSidewaysInsteadOfWidening)
{
    const QString longLine = QStringLiteral("x = ") + QString(400, QLatin1Char('y'));
    StructuredText view(QStringLiteral("```\n") + longLine + QStringLiteral("\n```\n\nafter"));
    present(view, 400);
    const auto &regions = view.currentLayout()->regions();
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_LE(regions[0].viewport.right(), 400);
    EXPECT_GT(regions[0].contentWidth, 400);
    EXPECT_EQ(view.width(), 400);
    const QPointF inside = regions[0].viewport.center();
    QWheelEvent wheel(inside, view.mapToGlobal(inside), QPoint(), QPoint(-120, 0), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &wheel);
    EXPECT_GT(view.currentLayout()->regions()[0].offset, 0);
    // Vertical wheel motion is left to the enclosing scroll area.
    QWheelEvent vertical(inside, view.mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&view, &vertical);
    EXPECT_FALSE(vertical.isAccepted());
}

TEST(StructuredText, SampleNoteDrawsEveryBlockKind)
{
    StructuredText view(sampleNote());
    present(view);
    const auto &layout = *view.currentLayout();
    int checkBoxes = 0, checked = 0, markers = 0, frames = 0;
    for (const ShapeItem &s : layout.shapes()) {
        checkBoxes += s.kind == ShapeItem::Kind::checkBox;
        checked += s.kind == ShapeItem::Kind::checkBox && s.checked;
        markers += s.kind == ShapeItem::Kind::marker;
        frames += s.kind == ShapeItem::Kind::frame;
    }
    EXPECT_EQ(checkBoxes, 2);
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(markers, 7);
    EXPECT_EQ(frames, 12); // 4 rows of 3 cells
    // The right-aligned column puts its short texts against the right edge of the cell.
    bool sawRightAligned = false;
    for (const TextItem &t : layout.textItems()) {
        if (t.layout->text() == QStringLiteral("kpc")) {
            const QTextLine line = t.layout->lineAt(0);
            sawRightAligned = line.cursorToX(0) > 1 && line.cursorToX(3) >= t.rect.width() - 1;
        }
    }
    EXPECT_TRUE(sawRightAligned);
    EXPECT_TRUE(view.document().text().contains(QStringLiteral("$x$ :smile:")));

    const QImage light = view.grab().toImage();
    view.setPalette(darkPalette());
    const QImage dark = view.grab().toImage();
    EXPECT_FALSE(isBlank(light));
    EXPECT_NE(light, dark);
    if (qEnvironmentVariableIsSet("VIREZEZ_SCREENSHOTS")) {
        light.save(QStringLiteral("/tmp/virezez-light.png"));
        dark.save(QStringLiteral("/tmp/virezez-dark.png"));
    }
}

TEST(StructuredText, NarrowTableWrapsLongColumnsAndScrollsOnlyWhenWordsDoNotFit)
{
    StructuredText view(QStringLiteral("| Quantity | Value |\n|---|--:|\n| Concentration parameter of the halo | 1.2e12 |\n"));
    present(view, 260);
    for (const TextItem &t : view.currentLayout()->textItems()) {
        if (t.layout->text() == QStringLiteral("1.2e12")) {
            EXPECT_EQ(t.layout->lineCount(), 1);
        }
        if (t.layout->text().startsWith(QStringLiteral("Concentration"))) {
            EXPECT_GT(t.layout->lineCount(), 1);
        }
    }
    EXPECT_TRUE(view.currentLayout()->regions().empty());

    StructuredText wide(QStringLiteral("| a | b |\n|---|---|\n| ") + QString(300, QLatin1Char('w')) + QStringLiteral(" | x |\n"));
    present(wide, 260);
    ASSERT_EQ(wide.currentLayout()->regions().size(), 1u);
    EXPECT_GT(wide.currentLayout()->regions()[0].contentWidth, 260);
}

TEST(StructuredText, MathBlocksAreFormulasWhenTheFormulaViewIsBuiltAndCodeOtherwise)
{
    StructuredText view(QStringLiteral("```MATH\nx^2 + y^2\n```\n\n```math\n\\frac{1}{\n```\n\n```mathematica\nPlot[x]\n```\n"));
    present(view);
    const DocumentLayout &layout = *view.currentLayout();
    std::vector<QString> texts;
    for (const TextItem &t : layout.textItems())
        texts.push_back(t.layout->text());
    if (MathBlock::isAvailable()) {
        // The good formula is typeset, the broken one is not drawn at all.
        EXPECT_EQ(layout.formulas().size(), 1u);
        EXPECT_EQ(texts, std::vector<QString>{QStringLiteral("Plot[x]")});
    } else {
        EXPECT_TRUE(layout.formulas().empty());
        EXPECT_EQ(texts, (std::vector<QString>{QStringLiteral("x^2 + y^2"), QStringLiteral("\\frac{1}{"),
                                               QStringLiteral("Plot[x]")}));
    }
}

TEST(StructuredText, FormulasTakeTheTextColourOfThePaletteSetOnTheView)
{
    if (!MathBlock::isAvailable())
        GTEST_SKIP() << "built without formulas";
    const QString note = QStringLiteral("Some words before the formula.\n\n```math\n"
                                        "\\sum_{i=1}^n x_i^2 = \\left( \\frac{a}{b} \\right) \\sqrt{\\frac{1}{2}}\n```\n\n"
                                        "> quoted\n>\n> ```math\n> \\int_0^1 f(x)\\,dx = F\n> ```\n");
    struct Case {
        const char *name;
        QPalette palette;
        QColor text;
    };
    const Case cases[] = {
        {"red", paletteOf(QColor(250, 250, 250), QColor(200, 0, 0)), QColor(200, 0, 0)},
        {"dark", darkPalette(), QColor(230, 230, 230)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StructuredText view(note);
        view.setPalette(c.palette);
        present(view);
        const DocumentLayout &layout = *view.currentLayout();
        ASSERT_EQ(layout.formulas().size(), 2u);
        const QImage image = view.grab().toImage();
        EXPECT_GT(inkOf(image, layout.textItems().front().rect, c.text), 50);
        const QRectF formula = layout.formulas().front().rect;
        EXPECT_GT(inkOf(image, formula, c.text), 50);
        // No ink of another colour: the application's text colour would show up as black.
        EXPECT_EQ(inkOf(image, formula, Qt::black, 12), 0);

        // A formula in a quote is drawn like the quote's text.
        const QColor quoted = layout.textItems().back().color;
        const QRectF quotedFormula = layout.formulas().back().rect;
        EXPECT_NE(quoted, c.text);
        EXPECT_GT(inkOf(image, quotedFormula, quoted), 30);
        EXPECT_EQ(inkOf(image, quotedFormula, Qt::black, 12), 0);

        if (qEnvironmentVariableIsSet("VIREZEZ_SCREENSHOTS"))
            image.save(QStringLiteral("/tmp/virezez-formulas-%1.png").arg(QLatin1String(c.name)));
    }
}
