#include "Pasteboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

// Copying an identifier leaves only that text: nothing of an earlier copy in another format.
TEST(Pasteboard, ClearingThenSettingLeavesOnlyThePlainText)
{
    auto *earlier = new QMimeData;
    earlier->setHtml(QStringLiteral("<b>earlier</b>"));
    earlier->setUrls({QUrl(QStringLiteral("https://example.org/earlier"))});
    QGuiApplication::clipboard()->setMimeData(earlier);

    Pasteboard pasteboard;
    pasteboard.clearContents();
    EXPECT_TRUE(pasteboard.string().isEmpty());
    pasteboard.setString(QStringLiteral("2401.01234v2"));
    const QMimeData *now = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(now);
    EXPECT_EQ(now->text(), "2401.01234v2");
    EXPECT_FALSE(now->hasHtml());
    EXPECT_FALSE(now->hasUrls());
    EXPECT_EQ(pasteboard.string(), "2401.01234v2");
}
