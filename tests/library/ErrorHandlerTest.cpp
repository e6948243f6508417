#include "ErrorHandler.h"
#include "SearchError.h"
#include "TestMain.h"
#include "TransportError.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(ErrorHandler, OnlyTheNewestErrorIsCurrentEachWithANewId)
{
    testApp();
    ErrorHandler handler;
    EXPECT_FALSE(handler.currentAlert());
    QSignalSpy changes(&handler, &ErrorHandler::currentAlertChanged);

    handler.showError(SearchError::invalidURL());
    const QUuid first = handler.currentAlert()->id;
    handler.showError(SearchError::invalidURL());
    ASSERT_TRUE(handler.currentAlert());
    EXPECT_EQ(handler.currentAlert()->message, "Invalid URL");
    EXPECT_NE(handler.currentAlert()->id, first) << "the same error twice is two alerts";
    EXPECT_FALSE(handler.currentAlert()->dismissAction);

    handler.showError(TransportError(TransportError::Kind::timedOut, "Connection timed out"));
    EXPECT_EQ(handler.currentAlert()->message, "Connection timed out");
    EXPECT_EQ(changes.count(), 3);

    handler.setCurrentAlert(std::nullopt);
    EXPECT_FALSE(handler.currentAlert());
    EXPECT_EQ(changes.count(), 4);
}

TEST(ErrorHandler, MessagesAreKeptAsTheyAre)
{
    testApp();
    ErrorHandler handler;
    const std::pair<std::function<void()>, QString> cases[] = {
        {[&] { handler.showError(SearchError::parsingError("")); }, "Error parsing data: "},
        {[&] { handler.showError(std::runtime_error("disk \xc3\xbc full")); }, QString::fromUtf8("disk ü full")},
        {[&] { handler.showError(QStringLiteral("ErrorAlertTitle")); }, "ErrorAlertTitle"},
        {[&] { handler.showError(QStringLiteral("<b>not bold</b>\nsecond line")); }, "<b>not bold</b>\nsecond line"},
    };
    for (const auto &[show, message] : cases) {
        show();
        EXPECT_EQ(handler.currentAlert()->message, message);
    }
}
