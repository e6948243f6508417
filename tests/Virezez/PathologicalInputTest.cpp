// Input no note should ever contain, and some will: extreme nesting, huge texts, broken
// encodings. Each must parse, lay out and paint without crashing or recursing deeply.
#include "StructuredText.h"

#include <QFile>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Kind = BlockTree::Kind;

void render(StructuredText &view, int width = 600)
{
    view.resize(width, 300);
    view.show();
    view.finishLayout();
    ASSERT_TRUE(view.currentLayout()->isComplete());
    EXPECT_FALSE(view.grab(QRect(0, 0, width, 300)).toImage().isNull());
}

// How far from the left the innermost text sits: deep nesting stops indenting at some point.
qreal innermostTextX(const StructuredText &view)
{
    qreal x = 0;
    for (const TextItem &t : view.currentLayout()->textItems())
        x = std::max(x, t.origin.x());
    return x;
}

int depthOf(const BlockTree &tree, int block)
{
    int depth = 0;
    for (int b = block; b >= 0; b = tree.block(b).parent)
        ++depth;
    return depth;
}

} // namespace

TEST(PathologicalInput, TenThousandLevelsOfNestingStayFlatAndReadable)
{
    const QString quotes = QString(10000, QLatin1Char('>')) + QStringLiteral(" deep");
    const QString bullets = QStringLiteral("- ").repeated(10000) + QStringLiteral("deep");
    const QString numbers = QStringLiteral("1. ").repeated(10000) + QStringLiteral("deep");
    const QString mixed = QStringLiteral("> - ").repeated(5000) + QStringLiteral("deep");
    for (const QString &md : {quotes, bullets, numbers, mixed}) {
        StructuredText view(md);
        render(view);
        const BlockTree &tree = view.blocks();
        ASSERT_EQ(tree.roots().size(), 1u);
        const int leaf = int(tree.blocks().size()) - 1;
        EXPECT_EQ(tree.block(leaf).kind, Kind::paragraph);
        EXPECT_GE(depthOf(tree, leaf), 10000);
        EXPECT_EQ(tree.text(view.document(), tree.roots()[0]), QStringLiteral("deep"));
        EXPECT_LE(innermostTextX(view), 600 - 120);
    }
}

TEST(PathologicalInput, UnmatchedDelimitersAndHugeInlineNesting)
{
    const QString brackets = QString(100000, QLatin1Char('['));
    const QString links = QStringLiteral("[a](").repeated(25000);
    const QString emphasis = QString(50000, QLatin1Char('*')) + QStringLiteral("x") + QString(50000, QLatin1Char('*'));
    const QString backticks = QStringLiteral("`a").repeated(50000);
    for (const QString &md : {brackets, links, emphasis, backticks}) {
        StructuredText view(md);
        render(view);
        EXPECT_FALSE(view.document().text().isEmpty());
    }
    StructuredText view(brackets);
    render(view);
    EXPECT_EQ(view.document().text(), brackets);
}

TEST(PathologicalInput, FiveMegabyteNoteLaysOutInSlices)
{
    QFile f(QStringLiteral(BRIVET_TEST_DATA_DIR "/markdown/commonmark-spec-0.31.2_spec.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString commonMark = QString::fromUtf8(f.readAll());
    QString big;
    while (big.size() < 5 * 1024 * 1024)
        big += commonMark;
    StructuredText view(big);
    view.resize(600, 400);
    view.show();
    // Parsed in the background: empty at first, then laid out once the document arrives.
    EXPECT_TRUE(view.document().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.document().isEmpty(); }, 60000));
    // The first slice already gives a height estimate, long before the note is laid out.
    EXPECT_GT(view.heightForWidth(600), 400);
    ASSERT_NE(view.currentLayout(), nullptr);
    EXPECT_FALSE(view.currentLayout()->isComplete());
    // Being asked about another width in between (a scroll bar coming and going) does not
    // throw away the work done for this one.
    const DocumentLayout *started = view.currentLayout();
    view.heightForWidth(584);
    view.heightForWidth(600);
    EXPECT_EQ(view.currentLayout(), started);
    view.finishLayout();
    EXPECT_TRUE(view.currentLayout()->isComplete());
    EXPECT_GT(view.currentLayout()->textItems().size(), 10000u);
    EXPECT_FALSE(view.grab(QRect(0, 0, 600, 400)).toImage().isNull());
}

TEST(PathologicalInput, BrokenEncodingsAndControlCharacters)
{
    QString md = QString::fromUtf8(QByteArray("# t\xff\xfe\xc3\x28 abc \xed\xa0\x80 \xf4\x90\x80\x80\n\n"));
    md += QChar(0xD800);       // lone high surrogate
    md += QStringLiteral(" x ");
    md += QChar(0xDC00);       // lone low surrogate
    md += QChar(u'\0');
    md += QStringLiteral("\r\n| a |\r\n|---|\r\n| \x01\x7f |\r\n");
    StructuredText view(md);
    render(view);
    EXPECT_TRUE(view.document().text().contains(QStringLiteral("abc")));
    EXPECT_EQ(view.blocks().block(view.blocks().roots()[0]).kind, Kind::heading);
}

TEST(PathologicalInput, HugeParagraphsTablesAndCodeBlocksAreLaidOutInSlicesExactlyAsAtOnce)
{
    // Ten thousand code spans in one list item's paragraph, a long table, a long and wide code
    // block, then more blocks after them.
    const QString md = QStringLiteral("- ") + QStringLiteral("`a").repeated(5000)
        + QStringLiteral("\n\n| a | b |\n|---|--:|\n") + QStringLiteral("| x | *y* |\n").repeated(200) + QStringLiteral("\n```\n")
        + (QStringLiteral("wide ").repeated(60) + QLatin1Char('\n')).repeated(300) + QStringLiteral("```\n# After\n\ntext");
    const AttributedString doc = AttributedStringMarkdownParser(QUrl(), {}, PatternProcessor()).attributedString(md);
    const BlockTree tree(doc);
    const DefaultStyle style;
    DocumentLayout whole(doc, tree, style, 600);
    whole.layoutAll();
    DocumentLayout sliced(doc, tree, style, 600);
    int slices = 1;
    while (!sliced.layoutFor(0))
        ++slices;
    EXPECT_GT(slices, 20); // one piece of the paragraph per slice
    EXPECT_EQ(sliced.height(), whole.height());
    ASSERT_EQ(sliced.textItems().size(), whole.textItems().size());
    EXPECT_EQ(sliced.textItems().back().origin, whole.textItems().back().origin);
    EXPECT_EQ(sliced.shapes().size(), whole.shapes().size());
    ASSERT_EQ(sliced.regions().size(), 1u);
    EXPECT_EQ(sliced.regions()[0].viewport, whole.regions()[0].viewport);
    EXPECT_EQ(sliced.textItems().rbegin()[2].region, 0); // the code block's last piece scrolls with it
}
