// The window's animations: when they run at all, and that each one fades over new content that
// is already there to use, and ends where the same change ends without it.
#include "AnimationSwitchStyle.h"
#include "AppView.h"
#include "ContentView.h"
#include "CrossFade.h"
#include "PaperDetailView.h"
#include "PaperList.h"
#include "PaperListModel.h"
#include "PaperListView.h"
#include "PlaceholderView.h"
#include "ViewTestSupport.h"

#include <QSplitter>
#include <QToolBar>
#include <QToolButton>

namespace {

QWidget *fadeOver(QWidget *host)
{
    return host->findChild<QWidget *>(QLatin1String(CrossFade::overlayName), Qt::FindDirectChildrenOnly);
}

bool fading(QWidget *window)
{
    return window->findChild<QWidget *>(QLatin1String(CrossFade::overlayName)) != nullptr;
}

class CrossFadeTest : public BrivetAppTest {
protected:
    PaperListPtr makeList(const QString &name, const QStringList &ids)
    {
        auto list = std::make_shared<PaperList>(name, QList<Paper *>{});
        app->modelContext().insert(list);
        for (const QString &id : ids) {
            auto paper = std::make_shared<Paper>();
            paper->setId(id);
            app->dataManager().add(paper, list.get());
        }
        return list;
    }

    AppState &state = app->appState();
};

} // namespace

TEST(CrossFadeDecisionTest, NoneWhenTheDesktopOrTheApplicationSwitchesAnimationsOff)
{
    QWidget widget;
    widget.resize(200, 100);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    const auto fadesAround = [](QWidget *target) {
        { const CrossFade fade(target); }
        std::unique_ptr<QWidget> laid(fadeOver(target));
        return laid != nullptr;
    };

    // As the tests run: the style gives widget animations no time.
    EXPECT_FALSE(CrossFade::wanted(&widget));
    EXPECT_FALSE(fadesAround(&widget));

    const AnimationSwitchStyle::On animated;
    EXPECT_TRUE(CrossFade::wanted(&widget));
    EXPECT_TRUE(fadesAround(&widget));
    QWidget hidden;
    EXPECT_FALSE(fadesAround(&hidden)) << "nothing on screen, nothing to fade";

    // An application that keeps out of the desktop's settings decides with its UI effects.
    const bool effects = QApplication::isEffectEnabled(Qt::UI_General);
    QGuiApplication::setDesktopSettingsAware(false);
    QApplication::setEffectEnabled(Qt::UI_General, false);
    EXPECT_FALSE(CrossFade::wanted(&widget));
    EXPECT_FALSE(fadesAround(&widget));
    QApplication::setEffectEnabled(Qt::UI_General, true);
    EXPECT_TRUE(CrossFade::wanted(&widget));
    QGuiApplication::setDesktopSettingsAware(true);
    QApplication::setEffectEnabled(Qt::UI_General, effects);
}

TEST_F(CrossFadeTest, EachAnimatedChangeFadesOverItsNewContentAndEndsWhereItWould)
{
    const AnimationSwitchStyle::On animated;
    const PaperListPtr list = makeList("Reading", {"2401.00001", "2401.00002"});
    MainWindow *window = openWindow();
    AppView *view = window->appView();
    auto *content = qobject_cast<ContentView *>(view->splitter()->widget(1));
    QWidget *detailColumn = view->splitter()->widget(2);
    ASSERT_TRUE(content);

    // Choosing a list: its rows are in place at once, under the fading picture of the welcome.
    const QRect place(content->mapTo(window, QPoint(0, 0)), content->size());
    const QImage welcome = window->grab(place).toImage().convertToFormat(QImage::Format_RGB32);
    state.setSelectedListId(list->id());
    QWidget *picture = fadeOver(content);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->grab().toImage().convertToFormat(QImage::Format_RGB32), welcome)
        << "the fade starts from the column as it looked";
    EXPECT_TRUE(picture->isVisible());
    EXPECT_EQ(picture->geometry(), content->rect());
    EXPECT_EQ(content->shown(), ContentView::Shown::papers);
    // A click on a row goes through the picture to the row, and chooses it.
    PaperListView *rows = content->paperListView();
    const QRect firstRow = rows->visualRect(rows->model()->index(0, 0));
    QWidget *hit = window->childAt(rows->viewport()->mapTo(window, firstRow.center()));
    EXPECT_EQ(hit, rows->viewport());
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, firstRow.center());
    const PaperPtr chosen = rows->paperModel()->paperAt(0);
    ASSERT_EQ(state.selectedPaper(), chosen);
    // The detail column fades too, over the chosen paper's detail.
    QWidget *detailFade = fadeOver(detailColumn);
    EXPECT_TRUE(detailFade);
    auto *detail = qobject_cast<PaperDetailView *>(view->detail());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->paper(), chosen);
    // Another row before that fade ends: the same fade goes on, over the newest paper.
    const QRect secondRow = rows->visualRect(rows->model()->index(1, 0));
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, secondRow.center());
    const PaperPtr second = rows->paperModel()->paperAt(1);
    ASSERT_EQ(state.selectedPaper(), second);
    EXPECT_EQ(detail->paper(), second);
    EXPECT_EQ(fadeOver(detailColumn), detailFade);

    // The identifier's swap to "Copied!" fades where the button was.
    auto *identifier = detail->findChild<QToolButton *>(QStringLiteral("identifier"));
    QTest::mouseClick(identifier, Qt::LeftButton);
    EXPECT_EQ(identifier->text(), QStringLiteral("Copied!"));
    EXPECT_TRUE(fadeOver(identifier->parentWidget()));

    QTRY_VERIFY_WITH_TIMEOUT(!fading(window), 5000);
    EXPECT_EQ(content->shown(), ContentView::Shown::papers);
    EXPECT_EQ(content->navigationTitle(), QStringLiteral("Reading"));
    EXPECT_EQ(view->detail(), detail);
    EXPECT_EQ(detail->paper(), second);
    EXPECT_TRUE(detail->isVisible());

    // Removing the selected paper: the placeholder is there at once, under the old detail.
    QAction *remove = nullptr;
    for (QAction *action : content->toolBar()->actions())
        if (action->text() == QStringLiteral("Remove from Reading"))
            remove = action;
    ASSERT_TRUE(remove);
    remove->trigger();
    EXPECT_EQ(state.selectedPaper(), nullptr);
    EXPECT_TRUE(fadeOver(detailColumn));
    EXPECT_TRUE(qobject_cast<PlaceholderView *>(view->detail()));
    QTRY_VERIFY_WITH_TIMEOUT(!fading(window), 5000);
    EXPECT_TRUE(qobject_cast<PlaceholderView *>(view->detail()));
    EXPECT_TRUE(view->detail()->isVisible());
    EXPECT_EQ(rows->model()->rowCount(), 1);

    // A selection made elsewhere than in the rows shows at once.
    state.setSelectedPaper(rows->paperModel()->paperAt(0));
    EXPECT_FALSE(fadeOver(detailColumn));
    EXPECT_TRUE(qobject_cast<PaperDetailView *>(view->detail()));
}
