// The window as a user sees it, in a light and a dark palette. With
// BRIVET_SCREENSHOT_DIR set, the pictures are also written there to be looked at.
#include "AppView.h"
#include "EnvironmentVariable.h"
#include "ErrorAlertPresenter.h"
#include "PlaceholderView.h"
#include "RealData.h"
#include "SearchEngines.h"
#include "SearchField.h"
#include "TextStyle.h"
#include "ViewTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>

namespace {

QPalette darkPalette()
{
    QPalette p;
    const QColor window(40, 40, 42), base(30, 30, 32), text(230, 230, 230), disabled(120, 120, 120);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 155));
    p.setColor(QPalette::Highlight, QColor(45, 110, 200));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, QColor(70, 70, 72));
    p.setColor(QPalette::Midlight, QColor(55, 55, 57));
    p.setColor(QPalette::Mid, QColor(35, 35, 37));
    p.setColor(QPalette::Dark, QColor(20, 20, 22));
    p.setColor(QPalette::Shadow, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

// The colour most of a label's text pixels have, ignoring the background.
QColor inkOf(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    const QColor background = widget->palette().color(widget->backgroundRole());
    QColor darkestOrLightest = background;
    int best = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.lightness() - background.lightness());
            if (distance > best) {
                best = distance;
                darkestOrLightest = c;
            }
        }
    return darkestOrLightest;
}

class AppearanceTest : public BrivetAppTest, public ::testing::WithParamInterface<bool> {
protected:
    static void SetUpTestSuite()
    {
        server = new LocalHttpServer;
        arxivURL.emplace("BRIVET_ARXIV_API_URL", server->url("/api/query").toEncoded());
    }
    static void TearDownTestSuite()
    {
        arxivURL.reset();
        delete server;
        server = nullptr;
    }
    static inline std::optional<EnvironmentVariable> arxivURL;
    AppearanceTest()
    {
        QApplication::setPalette(GetParam() ? darkPalette() : QApplication::style()->standardPalette());
        for (SearchEngine *engine : searchEngines())
            engine->setPapers(std::nullopt);
    }
    ~AppearanceTest() override { QApplication::setPalette(QApplication::style()->standardPalette()); }

    void save(QWidget *widget, const QString &name)
    {
        const QString folder = qEnvironmentVariable("BRIVET_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            widget->grab().save(folder + "/" + name + (GetParam() ? "-dark" : "-light") + ".png");
    }

    static inline LocalHttpServer *server = nullptr;
};

} // namespace

TEST_P(AppearanceTest, TextAndSymbolsStandOutFromTheirBackground)
{
    MainWindow *window = openWindow();
    save(window, "empty-window");
    auto *placeholder = qobject_cast<PlaceholderView *>(window->appView()->detail());
    ASSERT_TRUE(placeholder);
    const QColor background = placeholder->palette().color(QPalette::Window);
    EXPECT_EQ(background.lightness() < 128, GetParam());
    for (QLabel *label : placeholder->findChildren<QLabel *>()) {
        const QColor ink = inkOf(label);
        EXPECT_GT(std::abs(ink.lightness() - background.lightness()), 60)
            << label->text().toStdString() << " is hard to read";
    }

    server->setResponse(
        {.body = realData("arxiv/arxivpy_2026-04_newapi_search_testing_start0_max10.xml"), .delayMs = 300});
    app->appState().setSelectedListId(arxivEngineId());
    SearchField *field = window->appView()->searchField();
    QTest::keyClicks(field, "testing");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::qWait(150);
    save(field, "searching");
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->appView()->runningSearches() == 0; }, 10000));
    app->appState().setSelectedPaper(searchEngines().at(0)->papers()->first());
    QCoreApplication::processEvents();
    save(window, "search-result");

    window->errorHandler().showError(QStringLiteral("Invalid response received"));
    QMessageBox *alert = window->alertPresenter()->alertBox();
    ASSERT_TRUE(alert);
    QCoreApplication::processEvents();
    save(alert, "error-alert");
    auto *message = alert->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
    ASSERT_TRUE(message);
    EXPECT_GT(std::abs(inkOf(message).lightness() - alert->palette().color(QPalette::Window).lightness()), 60);
    window->errorHandler().setCurrentAlert(std::nullopt);

    window->showAbout();
    QMessageBox *about = nullptr;
    for (QMessageBox *box : window->findChildren<QMessageBox *>())
        if (box->windowTitle() == "About Brivet")
            about = box;
    ASSERT_TRUE(about);
    QCoreApplication::processEvents();
    save(about, "about");
    EXPECT_FALSE(about->iconPixmap().isNull()) << "the application's icon";
}

INSTANTIATE_TEST_SUITE_P(Palettes, AppearanceTest, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "Dark" : "Light"; });
