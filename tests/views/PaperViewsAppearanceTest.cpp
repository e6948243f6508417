// The paper's own views as a user sees them, in a light and a dark palette: the detail with a
// rendered note, the note editor and the importer form with its error line. With
// BRIVET_SCREENSHOT_DIR set, the pictures are also written there to be looked at.
#include "NoteEditorView.h"
#include "PaperDetailView.h"
#include "PaperImporterView.h"
#include "RoundIconButton.h"
#include "StructuredText.h"
#include "ViewTestSupport.h"
#include "WrappingText.h"

#include <QApplication>
#include <QLabel>
#include <QStyle>

namespace {

QPalette darkPalette()
{
    QPalette p;
    const QColor window(40, 40, 42), base(30, 30, 32), text(230, 230, 230), disabled(120, 120, 120);
    for (auto [role, color] : {std::pair{QPalette::Window, window}, {QPalette::WindowText, text},
                               {QPalette::Base, base}, {QPalette::AlternateBase, window}, {QPalette::Text, text},
                               {QPalette::Button, QColor(58, 58, 60)}, {QPalette::ButtonText, text},
                               {QPalette::PlaceholderText, QColor(150, 150, 155)},
                               {QPalette::Highlight, QColor(45, 110, 200)}, {QPalette::HighlightedText, QColor(Qt::white)},
                               {QPalette::Light, QColor(70, 70, 72)}, {QPalette::Midlight, QColor(55, 55, 57)},
                               {QPalette::Mid, QColor(90, 90, 92)}, {QPalette::Dark, QColor(20, 20, 22)},
                               {QPalette::Link, QColor(110, 170, 255)}})
        p.setColor(role, color);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

// How far the widget's most distinct pixel stands from the colour at `background` (lightness).
int contrastOf(QWidget *widget, QPoint background = {0, 0})
{
    const QImage image = widget->grab().toImage();
    const int ground = image.pixelColor(background).lightness();
    int best = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, std::abs(image.pixelColor(x, y).lightness() - ground));
    return best;
}

class PaperViewsAppearanceTest : public ::testing::TestWithParam<bool>, protected TestViewEnvironment {
protected:
    PaperViewsAppearanceTest()
    {
        QApplication::setPalette(GetParam() ? darkPalette() : QApplication::style()->standardPalette());
    }
    ~PaperViewsAppearanceTest() override { QApplication::setPalette(QApplication::style()->standardPalette()); }

    void save(QWidget *widget, const QString &name)
    {
        const QString folder = qEnvironmentVariable("BRIVET_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            widget->grab().save(folder + "/" + name + (GetParam() ? "-dark" : "-light") + ".png");
    }
    PaperPtr listedPaper()
    {
        auto paper = std::make_shared<Paper>(
            QStringLiteral("2401.01234"), QStringLiteral("Dark matter halos of dwarf galaxies in a warm universe"),
            QStringLiteral("We study the inner structure of the halos that host dwarf galaxies and find that the "
                           "cores are larger than expected."),
            QStringList{QStringLiteral("A. Author"), QStringLiteral("B. Writer"), QStringLiteral("C. Scholar")},
            QDateTime(QDate(2024, 1, 5), QTime(9, 0), Qt::UTC), std::nullopt,
            QUrl(QStringLiteral("https://arxiv.org/abs/2401.01234")), QUrl(QStringLiteral("https://arxiv.org/pdf/2401.01234")),
            std::nullopt,
            QStringLiteral("# Reading notes\n\n- the cores are **large**\n- compare with `cdm`\n\n> A quote.\n\n"
                           "```math\n\\rho(r) = \\frac{\\rho_0}{1 + (r/r_c)^2}\n```\n"));
        list = std::make_shared<PaperList>(QStringLiteral("Dwarfs"), QList<Paper *>{});
        env.modelContext.insert(list);
        dataManager.add(paper, list.get());
        appState.setSelectedListId(list->id());
        return paper;
    }

    PaperListPtr list;
};

} // namespace

TEST_P(PaperViewsAppearanceTest, DetailTextsStandOutAndTheSecondaryOnesLessSo)
{
    PaperDetailView detail(env, listedPaper());
    detail.resize(420, 760);
    detail.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&detail));
    detail.noteView()->finishLayout();
    QApplication::processEvents();
    save(&detail, "paper-detail");

    const int title = contrastOf(detail.findChild<WrappingText *>(QStringLiteral("title")));
    const int authors = contrastOf(detail.findChild<WrappingText *>(QStringLiteral("authors")));
    EXPECT_GT(title, 100);
    EXPECT_GT(authors, 50);
    EXPECT_LT(authors, title) << "the authors are secondary";
    EXPECT_GT(contrastOf(detail.findChild<QLabel *>(QStringLiteral("date"))), 50);
    EXPECT_GT(contrastOf(detail.noteView()), 100);
}

TEST_P(PaperViewsAppearanceTest, SheetsReadInBothPalettes)
{
    PaperPtr paper = listedPaper();
    NoteEditorView editor(env, paper);
    editor.resize(640, 520);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    save(&editor, "note-editor");
    for (auto *button : editor.findChildren<RoundIconButton *>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        // The symbol against the button's own circle.
        EXPECT_GT(contrastOf(button, {18, 9}), 100);
    }

    PaperImporterView importer(env, list.get());
    importer.resize(640, 760);
    importer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&importer));
    importer.confirm();
    QTRY_VERIFY(!importer.errorMessage().isEmpty());
    QApplication::processEvents();
    save(&importer, "importer-form");
    auto *error = importer.findChild<QLabel *>(QStringLiteral("error"));
    const QImage line = error->grab().toImage();
    bool red = false;
    for (int y = 0; y < line.height() && !red; ++y)
        for (int x = 0; x < line.width() && !red; ++x) {
            const QColor c = line.pixelColor(x, y);
            red = c.red() > 150 && c.green() < c.red() / 1.5 && c.blue() < c.red() / 1.5;
        }
    EXPECT_TRUE(red) << "the error line is red";
    EXPECT_GT(contrastOf(error), 60);
}

INSTANTIATE_TEST_SUITE_P(Palettes, PaperViewsAppearanceTest, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Dark" : "Light"; });
