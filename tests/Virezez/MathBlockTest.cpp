// Formulas in a note: drawn in the note's own colours, wherever the palette is set.
#include "StructuredText.h"

#include <QImage>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

QPalette paletteOf(QColor window, QColor text)
{
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::Base, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    return p;
}

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

const QString kNote = QStringLiteral("Some words before the formula.\n\n```math\n"
                                     "\\sum_{i=1}^n x_i^2 = \\left( \\frac{a}{b} \\right) \\sqrt{\\frac{1}{2}}\n```\n\n"
                                     "> quoted\n>\n> ```math\n> \\int_0^1 f(x)\\,dx = F\n> ```\n");

} // namespace

TEST(MathBlock, FormulasTakeTheTextColourOfThePaletteSetOnTheView)
{
    struct Case {
        const char *name;
        QColor window;
        QColor text;
    };
    // The application's palette stays as it is (dark ink on light): only the view's changes.
    const Case cases[] = {
        {"red text on light", QColor(250, 250, 250), QColor(200, 0, 0)},
        {"dark", QColor(30, 30, 30), QColor(230, 230, 230)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StructuredText view(kNote);
        view.setPalette(paletteOf(c.window, c.text));
        present(view);
        const DocumentLayout &layout = *view.currentLayout();
        if (!MathBlock::isAvailable())
            GTEST_SKIP() << "built without formulas";
        ASSERT_EQ(layout.formulas().size(), 2u);
        const QImage image = view.grab().toImage();
        const QRectF paragraph = layout.textItems().front().rect;
        const QRectF formula = layout.formulas().front().rect;
        EXPECT_GT(inkOf(image, paragraph, c.text), 50);
        EXPECT_GT(inkOf(image, formula, c.text), 50);
        // No ink of another colour: the application's text colour would show up as black.
        EXPECT_EQ(inkOf(image, formula, Qt::black, 12), 0);

        // A formula in a quote is drawn like the quote's text.
        const QColor quoted = view.currentLayout()->textItems().back().color;
        EXPECT_NE(quoted, c.text);
        EXPECT_GT(inkOf(image, layout.formulas().back().rect, quoted), 30);
        EXPECT_EQ(inkOf(image, layout.formulas().back().rect, Qt::black, 12), 0);

        if (qEnvironmentVariableIsSet("VIREZEZ_SCREENSHOTS"))
            image.save(QStringLiteral("/tmp/virezez-formulas-%1.png").arg(QString::fromLatin1(c.name).section(QLatin1Char(' '), 0, 0)));
    }
}
