// Large notes are parsed off the GUI thread: the result arrives through the event loop, only
// the latest text is ever shown, a view may go away mid-parse, and parses on two threads at
// once do not disturb each other.
#include "StructuredText.h"

#include <QFile>
#include <QTest>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

QString commonMark()
{
    QFile f(QStringLiteral(BRIVET_REALDATA_DIR "/markdown/commonmark-spec-0.31.2_spec.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}

// A note just over the background threshold, recognisable by its first heading.
QString largeNote(const QString &title)
{
    return QStringLiteral("# %1\n\n").arg(title) + commonMark() + commonMark();
}

// Waits until no parse runs anywhere, without delivering anything to anyone.
void waitForWorkers()
{
    for (int i = 0; i < 60000 && BackgroundParse::busy(); ++i)
        QThread::msleep(1);
    ASSERT_FALSE(BackgroundParse::busy());
}

bool settle(StructuredText &view)
{
    return QTest::qWaitFor([&] { return !view.isParsing(); }, 60000);
}

} // namespace

TEST(BackgroundParse, LargeNoteIsShownWhenItsDocumentArrives)
{
    StructuredText view(largeNote(QStringLiteral("Large")));
    int changes = 0;
    QObject::connect(&view, &StructuredText::documentChanged, [&] { ++changes; });
    view.resize(600, 400);
    view.show();
    EXPECT_TRUE(view.document().isEmpty()); // nothing shown while parsing
    EXPECT_TRUE(view.isParsing());
    ASSERT_TRUE(settle(view));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(view.document().text().startsWith(QStringLiteral("Large")));
    EXPECT_GT(view.heightForWidth(600), 400);
    EXPECT_FALSE(view.currentLayout()->textItems().empty());
}

TEST(BackgroundParse, OnlyTheLatestTextIsEverShown)
{
    StructuredText view(largeNote(QStringLiteral("First")));
    QStringList shown;
    QObject::connect(&view, &StructuredText::documentChanged, [&] {
        if (!view.document().isEmpty())
            shown << view.document().text().section(QLatin1Char('\n'), 0, 0).left(12);
    });
    view.show();
    view.setMarkup(largeNote(QStringLiteral("Second")));
    view.setMarkup(largeNote(QStringLiteral("Third")));
    // A small text while the engine is busy waits its turn in the background too.
    view.setMarkup(QStringLiteral("Small *note*"));
    ASSERT_TRUE(settle(view));
    waitForWorkers();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList{QStringLiteral("Small note")});

    // Once idle, small notes parse synchronously again, and a small text replacing a large
    // one still being parsed is not overwritten when the large one finishes.
    view.setMarkup(largeNote(QStringLiteral("Fourth")));
    waitForWorkers();
    view.setMarkup(QStringLiteral("Last"));
    EXPECT_EQ(view.document().text(), QStringLiteral("Last"));
    QCoreApplication::processEvents();
    EXPECT_EQ(view.document().text(), QStringLiteral("Last"));
}

TEST(BackgroundParse, ViewMayBeDestroyedWhileParsingOrWithAResultQueued)
{
    auto *parsing = new StructuredText(largeNote(QStringLiteral("Gone")).repeated(4));
    parsing->show();
    QThread::msleep(20); // the worker has taken the text up by now
    delete parsing;

    auto *queued = new StructuredText(largeNote(QStringLiteral("Queued")));
    queued->show();
    waitForWorkers(); // the result now waits in the event queue
    delete queued;
    QCoreApplication::processEvents();
    SUCCEED();
}

TEST(BackgroundParse, ThresholdCountsUtf8Bytes)
{
    const qsizetype limit = StructuredText::kBackgroundParseBytes;
    // Two bytes per character: exactly at the limit stays on the GUI thread, one more does not.
    StructuredText atLimit(QString(limit / 2, QChar(0x00e9)));
    atLimit.show();
    EXPECT_FALSE(atLimit.document().isEmpty());
    StructuredText over(QString(limit / 2, QChar(0x00e9)) + QLatin1Char('x'));
    over.show();
    EXPECT_TRUE(over.document().isEmpty());
    ASSERT_TRUE(settle(over));
    EXPECT_FALSE(over.document().isEmpty());
}

TEST(BackgroundParse, ParsesOnTwoThreadsAtOnceGiveTheSameDocuments)
{
    const AttributedStringMarkdownParser parser(QUrl(), {}, PatternProcessor({SyntaxExtension::inlineMath()}));
    const QString note = QStringLiteral("a ~~gone~~ www.example.com $x$ b\n\n").repeated(50);
    const AttributedString expected = parser.attributedString(note);
    std::atomic<bool> stop{false};
    std::thread other([&] {
        while (!stop)
            parser.attributedString(QStringLiteral("~~q~~ $y$"));
    });
    int differing = 0;
    for (int i = 0; i < 100; ++i) {
        const AttributedString doc = parser.attributedString(note);
        differing += doc.text() != expected.text() || doc.runs().size() != expected.runs().size();
    }
    stop = true;
    other.join();
    EXPECT_EQ(differing, 0);
}
