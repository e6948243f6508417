#include "AwaitTask.h"
#include "LocalHttpServer.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "TestMain.h"
#include "TransportError.h"
#include "UpdateError.h"
#include "UpdateFeed.h"
#include "UpdateFeedDocument.h"
#include "UpdateFeedParser.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Behaviour = LocalHttpServer::Response::Behaviour;

namespace {

// "version download notes" of each item the parser keeps, or "error: <description>".
QStringList parsed(const QByteArray &document)
{
    try {
        QStringList items;
        for (const UpdateFeedItem &item : UpdateFeedParser().parse(document))
            items << item.version.text() + ' ' + item.downloadURL.toString() + ' ' + item.releaseNotesURL.toString();
        return items;
    } catch (const UpdateError &e) {
        return {QStringLiteral("error: ") + e.description()};
    }
}

QByteArray rss(const QByteArray &channelContent)
{
    return "<rss version=\"2.0\" xmlns:brivet=\"https://quendo.com/xmlns/brivet-updates\"><channel>" + channelContent
           + "</channel></rss>";
}

} // namespace

TEST(UpdateFeedParserTest, KeepsUsableItemsAndNamesWhatIsWrong)
{
    const QString dl = "https://example.org/brivet/download", notes = "https://example.org/brivet/notes.html";
    const struct {
        const char *what;
        QByteArray document;
        QStringList expected;
    } cases[] = {
        {"a feed as published", updateFeedDocument({{"1.0.0"}, {"1.2.0", dl + "/1.2"}, {"1.1.0", dl, {}}}),
         {"1.0.0 " + dl + ' ' + notes, "1.2.0 " + dl + "/1.2 " + notes, "1.1.0 " + dl + ' '}},
        {"CDATA, entities and white space around the texts",
         rss("<item><brivet:version>\n 2.0 </brivet:version><link><![CDATA[ https://e.org/n?a=1&b=2 ]]></link>"
             "<brivet:downloadLink> https://e.org/d?x=1&amp;y=2\n</brivet:downloadLink></item>"),
         {"2.0 https://e.org/d?x=1&y=2 https://e.org/n?a=1&b=2"}},
        {"the first of a repeated element wins",
         rss("<item><brivet:version>1.1</brivet:version><brivet:version>9.9</brivet:version>"
             "<brivet:downloadLink>https://e.org/a</brivet:downloadLink>"
             "<brivet:downloadLink>https://e.org/b</brivet:downloadLink></item>"),
         {"1.1 https://e.org/a "}},
        {"links that are no web pages are never kept",
         rss("<item><brivet:version>1.1</brivet:version><brivet:downloadLink>file:///usr/bin/xterm</brivet:downloadLink></item>"
             "<item><brivet:version>1.2</brivet:version><brivet:downloadLink>javascript:alert(1)</brivet:downloadLink></item>"
             "<item><brivet:version>1.3</brivet:version><brivet:downloadLink>https://</brivet:downloadLink></item>"
             "<item><brivet:version>1.4</brivet:version><link>file:///etc/passwd</link>"
             "<brivet:downloadLink>http://e.org/d</brivet:downloadLink></item>"),
         {"1.4 http://e.org/d "}},
        {"items outside the channel and elements nested deeper are not the feed's",
         "<rss><item><brivet:version>5.0</brivet:version><brivet:downloadLink>https://e.org/x</brivet:downloadLink></item>"
         "<channel><item><x><brivet:version>6.0</brivet:version></x><brivet:version>1.0</brivet:version>"
         "<brivet:downloadLink>https://e.org/d</brivet:downloadLink></item></channel></rss>",
         {"1.0 https://e.org/d "}},
        {"an HTML error page", "<html><body><h1>Not Found</h1><p>Gone<br></p></body></html>",
         {"error: The update feed is not a valid XML document: mismatched tag (line 1, column 44)."}},
        {"an empty answer", "", {"error: The update feed is not a valid XML document: no element found (line 1, column 1)."}},
        {"a cut-off feed", updateFeedDocument({{"1.0.0"}}).left(200),
         {"error: The update feed is not a valid XML document: no element found (line 6, column 5)."}},
        {"well-formed, but not RSS", "<feed xmlns=\"http://www.w3.org/2005/Atom\"><entry/></feed>",
         {"error: The update feed is not an RSS document."}},
        {"a feed without releases", rss("<title>Brivet</title>"), {"error: The update feed lists no versions."}},
        {"releases whose versions cannot be read",
         rss("<item><brivet:version>latest</brivet:version><brivet:downloadLink>https://e.org/d</brivet:downloadLink></item>"
             "<item><brivet:version></brivet:version><brivet:downloadLink>https://e.org/d</brivet:downloadLink></item>"
             "<item><version>1.0</version><brivet:downloadLink>https://e.org/d</brivet:downloadLink></item>"
             "<item><brivet:version>2.0</brivet:version></item>"),
         {"error: The update feed lists no version that Brivet can read."}},
    };
    LogCapture log;
    for (const auto &c : cases)
        EXPECT_EQ(parsed(c.document), c.expected) << c.what;
    EXPECT_TRUE(log.lines().contains("Brivet: Skipping unusable update feed item. Version: 1.2, download link: javascript:alert(1)"))
        << log.lines().join('\n').toStdString();
}

class UpdateFeedTest : public ::testing::Test {
protected:
    QCoreApplication &app = testApp();
    LocalHttpServer server;
};

TEST_F(UpdateFeedTest, AnswersThatAreNoFeedFail)
{
    const QByteArray feed = updateFeedDocument({{"1.0.0"}});
    const struct {
        LocalHttpServer::Response response;
        QString description;
    } cases[] = {
        {{.status = 404, .body = "<html>Not here</html>"}, "The update server answered with HTTP status 404."},
        {{.status = 503, .body = feed}, "The update server answered with HTTP status 503."},
        {{.status = 204, .body = {}}, "The update feed is not a valid XML document: no element found (line 1, column 1)."},
        {{.body = feed, .behaviour = Behaviour::stall}, "The request timed out."},
        {{.body = feed, .behaviour = Behaviour::stallMidBody, .cutAfter = 40}, "The request timed out."},
        {{.body = feed + QByteArray(5000, ' ')}, "The answer is larger than 4096 bytes."},
    };
    UpdateFeed updateFeed(server.url().toString(), 300ms, 4096);
    for (const auto &c : cases) {
        server.setResponse(c.response);
        QString description;
        try {
            awaitTask(updateFeed.newestItem());
        } catch (const BrivetError &e) {
            description = e.description();
        }
        EXPECT_EQ(description, c.description);
    }
}

TEST_F(UpdateFeedTest, OnlyWebAddressesAreAsked)
{
    for (const char *address : {"ftp://example.org/feed.xml", "file:///etc/passwd", "not an address", "https://",
                                "/releases.xml"}) {
        UpdateFeed feed(QString::fromUtf8(address));
        const auto error = awaitFailure<UpdateError>(feed.newestItem());
        EXPECT_EQ(error->description(),
                  QStringLiteral("The update feed address \u201c%1\u201d is not an HTTP or HTTPS address.").arg(address));
    }
}

// Kept last: a test process that exits right after an aborted request can
// crash in Qt's network thread during exit.
TEST_F(UpdateFeedTest, FindsTheNewestRelease)
{
    server.setResponse(updateFeedResponse(updateFeedDocument({{"1.0.0"}, {"1.10.0", "https://e.org/d10"}, {"1.9.0"},
                                                              {"1.10", "https://e.org/second"}})));
    UpdateFeed feed(server.url("/releases.xml").toString());
    const UpdateFeedItem newest = awaitTask(feed.newestItem());
    EXPECT_EQ(newest.version.text(), "1.10.0");
    EXPECT_EQ(newest.downloadURL, QUrl("https://e.org/d10"));
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests()[0].path, "/releases.xml");
}
