// Drawing a typeset formula with a painter: inked by the painter's pen, placed at the baseline
// origin given.
#include "MathDisplayProvider.h"
#include "MathDisplayTree.h"
#include "MathDrawing.h"
#include "MathTestSupport.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// Qt's raw fonts need a QGuiApplication; nothing here needs widgets.
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "math-drawing-test";
    static char *argv[] = {name, nullptr};
    static auto *app = new QGuiApplication(argc, argv);
    (void)app;
}

struct Ink {
    QRect box;     // every pixel that was drawn on
    int ofPen = 0; // drawn pixels of the pen's colour
    int other = 0; // drawn pixels of any other colour
};

// The image starts transparent, so antialiasing only lowers the alpha of the pen's colour.
Ink inkOn(const QImage &image, QColor pen)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0)
                continue;
            ink.box |= QRect(x, y, 1, 1);
            if (c.alpha() < 96)
                continue;
            const bool near = std::abs(c.red() - pen.red()) < 12 && std::abs(c.green() - pen.green()) < 12
                && std::abs(c.blue() - pen.blue()) < 12;
            (near ? ink.ofPen : ink.other) += 1;
        }
    return ink;
}

QImage draw(const Math::Drawing &drawing, QColor pen, QPointF origin)
{
    QImage image(240, 120, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen);
    drawing.draw(&painter, origin);
    return image;
}

Math::DisplayProvider::Display typeset(const char *latex)
{
    ensureApplication();
    auto display = Math::DisplayProvider::shared().display(QString::fromUtf8(latex), 28, Math::Style::display);
    EXPECT_NE(display.drawing, nullptr) << display.error.toStdString();
    return display;
}

} // namespace

TEST(MathDrawing, InksGlyphsAndRulesWithThePaintersPen)
{
    // Glyphs of three sizes with rules (fraction, radical, overline); then rules alone.
    const auto glyphsAndRules = typeset("\\frac{a}{b} + \\sqrt{x_i^{2}} \\overline{y}");
    const auto rulesOnly = typeset("\\overline{\\phantom{xx}} \\frac{\\phantom{a}}{\\phantom{b}}");
    ASSERT_TRUE(glyphsAndRules.drawing && rulesOnly.drawing);
    for (const QColor pen : {QColor(200, 0, 0), QColor(230, 230, 230), QColor(0, 90, 200)}) {
        SCOPED_TRACE(pen.name().toStdString());
        const Ink both = inkOn(draw(*glyphsAndRules.drawing, pen, QPointF(10, 60)), pen);
        EXPECT_GT(both.ofPen, 150);
        EXPECT_EQ(both.other, 0);
        const Ink rules = inkOn(draw(*rulesOnly.drawing, pen, QPointF(10, 60)), pen);
        EXPECT_GT(rules.ofPen, 20);
        EXPECT_EQ(rules.other, 0);
    }
}

TEST(MathDrawing, StaysInItsBoxFromTheBaselineOrigin)
{
    const auto display = typeset("\\sum_{i=1}^{n} \\frac{x_i}{2}");
    ASSERT_TRUE(display.drawing);
    const auto &tree = *display.tree;
    for (const QPointF origin : {QPointF(10, 60), QPointF(100.5, 70.25)}) {
        const QRect box = inkOn(draw(*display.drawing, Qt::black, origin), Qt::black).box;
        const QRectF bounds(origin.x(), origin.y() - tree.ascent, tree.width, tree.ascent + tree.descent);
        // Glyphs are put on whole pixels and antialiased: a pixel either way.
        EXPECT_TRUE(bounds.adjusted(-2, -2, 2, 2).contains(QRectF(box)))
            << origin.x() << ": ink " << box.x() << "," << box.y() << " " << box.width() << "x" << box.height() << ", box "
            << bounds.x() << "," << bounds.y() << " " << bounds.width() << "x" << bounds.height();
        // The ink fills its box, give or take the glyphs' side bearings.
        EXPECT_GT(box.width(), tree.width * 0.8);
        EXPECT_GT(box.height(), (tree.ascent + tree.descent) * 0.8);
    }
}
