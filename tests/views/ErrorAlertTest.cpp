#include "ErrorAlertPresenter.h"
#include "SearchError.h"
#include "ViewTestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

class ErrorAlertTest : public BrivetAppTest {
protected:
    ErrorAlertTest() : window(openWindow()) {}

    QMessageBox *box() const { return window->alertPresenter()->alertBox(); }
    // The boxes on screen over the window.
    int boxesShown() const
    {
        int shown = 0;
        for (QMessageBox *b : window->findChildren<QMessageBox *>())
            shown += b->isVisible();
        return shown;
    }
    // The message as the user reads it, below the title.
    static QString messageOf(QMessageBox *b)
    {
        auto *label = b->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        return label->text();
    }
    void confirm()
    {
        ASSERT_TRUE(box());
        QTest::keyClick(box(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    MainWindow *window;
    ErrorHandler &handler = window->errorHandler();
};

} // namespace

TEST_F(ErrorAlertTest, AWindowModalBoxWithTheMessageAsWritten)
{
    EXPECT_EQ(boxesShown(), 0);
    handler.showError(QStringLiteral("ConfirmLabel <i>is</i> a key"));
    ASSERT_TRUE(box());
    EXPECT_TRUE(box()->isVisible());
    EXPECT_EQ(box()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box()->parentWidget(), window);
    EXPECT_EQ(box()->windowTitle(), "Error");
    EXPECT_EQ(box()->text(), "Error");
    EXPECT_EQ(messageOf(box()), "ConfirmLabel <i>is</i> a key");
    ASSERT_EQ(box()->buttons().size(), 1);
    EXPECT_EQ(box()->buttons().first()->text(), "OK");
    EXPECT_EQ(box()->defaultButton(), qobject_cast<QPushButton *>(box()->buttons().first()));
    EXPECT_EQ(box()->buttons().first()->accessibleName(), "OK");

    confirm();
    EXPECT_FALSE(handler.currentAlert());
    EXPECT_EQ(boxesShown(), 0);

    // The same error again shows again.
    handler.showError(QStringLiteral("ConfirmLabel <i>is</i> a key"));
    ASSERT_TRUE(box());
    EXPECT_TRUE(box()->isVisible());
}

TEST_F(ErrorAlertTest, ANewerAlertTakesThePlaceOfTheShownOne)
{
    handler.showError(SearchError::invalidResponse());
    QMessageBox *first = box();
    handler.showError(SearchError::missingData());
    QCoreApplication::processEvents();
    EXPECT_EQ(boxesShown(), 1);
    ASSERT_TRUE(box());
    EXPECT_NE(box(), first);
    EXPECT_EQ(messageOf(box()), "Some data is missing from the api's response");
    ASSERT_TRUE(handler.currentAlert()) << "closing the replaced box did not clear the new alert";

    confirm();
    EXPECT_FALSE(handler.currentAlert());
    EXPECT_EQ(boxesShown(), 0);
}

TEST_F(ErrorAlertTest, ConfirmingRunsTheDismissActionOnceAndAlertsStayInTheirWindow)
{
    int dismissed = 0;
    handler.setCurrentAlert(ErrorAlert{QUuid::createUuid(), "with an action", [&] { ++dismissed; }});
    MainWindow *other = openWindow();
    EXPECT_FALSE(other->alertPresenter()->alertBox());
    confirm();
    EXPECT_EQ(dismissed, 1);
    EXPECT_FALSE(handler.currentAlert());

    // Cleared from elsewhere: the box goes away and nothing runs.
    handler.setCurrentAlert(ErrorAlert{QUuid::createUuid(), "cleared", [&] { ++dismissed; }});
    handler.setCurrentAlert(std::nullopt);
    QCoreApplication::processEvents();
    EXPECT_EQ(boxesShown(), 0);
    EXPECT_EQ(dismissed, 1);
}
