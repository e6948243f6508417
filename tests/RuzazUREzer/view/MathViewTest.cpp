#include "../MathTestSupport.h"
#include "MathFontRegistry.h"
#include "MathView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QApplication &app()
{
    static int argc = 1;
    static char name[] = "math-view-test";
    static char *argv[] = {name, nullptr};
    static QApplication *instance = new QApplication(argc, argv);
    return *instance;
}

// Pixels of the image whose colour is close to wanted; enough to tell "drawn" from "empty".
int pixelsOf(const QImage &image, QColor wanted)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 128 && std::abs(c.red() - wanted.red()) < 60 && std::abs(c.green() - wanted.green()) < 60
                && std::abs(c.blue() - wanted.blue()) < 60)
                ++count;
        }
    return count;
}

QImage render(const Math::View &math)
{
    const auto bounds = math.typographicBounds();
    QImage image(qMax(1, int(bounds.width) + 4), qMax(1, int(bounds.ascent + bounds.descent) + 4), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    math.paint(&painter, QPointF(2, 2 + bounds.ascent));
    return image;
}

} // namespace

TEST(MathView, SetsAFormulaAndReportsItsBounds)
{
    app();
    Math::View math(QStringLiteral("\\frac{a}{b} + \\sqrt{x}"));
    math.setFontSize(30);
    ASSERT_TRUE(math.isValid()) << math.errorMessage().toStdString();
    const auto bounds = math.typographicBounds();
    EXPECT_GT(bounds.width, 30);
    EXPECT_GT(bounds.ascent, 15);
    EXPECT_GT(bounds.descent, 5);
    EXPECT_DOUBLE_EQ(bounds.origin.y(), bounds.ascent);
    EXPECT_EQ(math.sizeHint(), QSize(int(std::ceil(bounds.width)), int(std::ceil(bounds.ascent + bounds.descent))));

    // Text style sets the same fraction smaller; a larger font scales everything.
    const qreal displayHeight = bounds.ascent + bounds.descent;
    math.setTypesettingStyle(Math::Style::text);
    EXPECT_LT(math.typographicBounds().ascent + math.typographicBounds().descent, displayHeight);
    math.setFontSize(60);
    EXPECT_GT(math.typographicBounds().width, 2 * bounds.width * 0.8);

    math.setContentsMargins(3, 4, 0, 0);
    EXPECT_EQ(math.typographicBounds().origin, QPointF(3, 4 + math.typographicBounds().ascent));
}

TEST(MathView, DrawsInThePaletteTextColour)
{
    app();
    Math::View math(QStringLiteral("\\sum_{i=1}^n x_i^2 = \\left( \\frac{a}{b} \\right)"));
    math.setFontSize(24);
    QPalette palette = math.palette();
    palette.setColor(QPalette::Text, QColor(200, 0, 0));
    math.setPalette(palette);
    const QImage image = render(math);
    EXPECT_GT(pixelsOf(image, QColor(200, 0, 0)), 100);
    EXPECT_EQ(pixelsOf(image, QColor(0, 0, 0)), 0);

    // The widget paints itself the same way.
    math.resize(math.sizeHint());
    const QImage grabbed = math.grab().toImage();
    EXPECT_GT(pixelsOf(grabbed, QColor(200, 0, 0)), 100);
}

TEST(MathView, AFormulaThatDoesNotParseDrawsNothing)
{
    app();
    Math::View math(QStringLiteral("\\frac{1}{"));
    EXPECT_FALSE(math.isValid());
    EXPECT_TRUE(math.errorMessage().contains(QStringLiteral("Missing }"))) << math.errorMessage().toStdString();
    EXPECT_EQ(math.sizeHint(), QSize(0, 0));
    EXPECT_EQ(math.typographicBounds().width, 0);
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    math.paint(&painter, QPointF(0, 10));
    painter.end();
    EXPECT_EQ(pixelsOf(image, math.palette().color(QPalette::Text)), 0);

    // Fixing the text brings the formula back.
    math.setLatex(QStringLiteral("\\frac{1}{2}"));
    EXPECT_TRUE(math.isValid());
    EXPECT_TRUE(math.errorMessage().isEmpty());
    math.setLatex(QString());
    EXPECT_TRUE(math.isValid());
    EXPECT_EQ(math.sizeHint().width(), 0);
}

TEST(MathView, WithoutTheFontNothingIsDrawnAndNothingCrashes)
{
    app();
    Math::FontRegistry::overrideShared(nullptr);
    Math::View math(QStringLiteral("x^2"));
    EXPECT_FALSE(math.isValid());
    EXPECT_FALSE(math.errorMessage().isEmpty());
    EXPECT_EQ(math.sizeHint(), QSize(0, 0));
    const QImage image = render(math);
    EXPECT_EQ(pixelsOf(image, math.palette().color(QPalette::Text)), 0);
    math.resize(10, 10);
    math.grab();
    Math::FontRegistry::clearOverride();
    math.setLatex(QStringLiteral("y^2"));
    EXPECT_TRUE(math.isValid());
}

TEST(MathView, ExtremeSizesStayWithinBounds)
{
    app();
    std::string wide;
    for (int i = 0; i < 2000; ++i)
        wide += "\\hspace{999em}";
    Math::View math(QString::fromStdString(wide));
    math.setFontSize(1e9);
    ASSERT_TRUE(math.isValid());
    EXPECT_LE(math.fontSize(), Math::maxFontSize);
    EXPECT_GT(math.sizeHint().width(), 0);
    math.setFontSize(std::nan(""));
    EXPECT_GT(math.fontSize(), 0);
    math.setFontSize(-5);
    EXPECT_GT(math.fontSize(), 0);
}
