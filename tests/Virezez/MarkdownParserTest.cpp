// The Markdown parser: block intents, inline attributes, URL handling and syntax extensions.
#include "AttributedStringMarkdownParser.h"

#include <gtest/gtest.h>

namespace {

using Kind = AttributedString::IntentKind;

AttributedString parse(const QString &md, const QUrl &base = {}, std::vector<SyntaxExtension> ext = {})
{
    return AttributedStringMarkdownParser(base, {}, PatternProcessor(std::move(ext))).attributedString(md);
}

// The run covering the first occurrence of `needle`.
const AttributedString::Run *runWith(const AttributedString &doc, const QString &needle)
{
    const qsizetype at = doc.text().indexOf(needle);
    for (const auto &run : doc.runs())
        if (at >= run.start && at < run.start + run.length)
            return &run;
    return nullptr;
}

} // namespace

TEST(MarkdownParser, BlockIntentsNestByIdentity)
{
    const AttributedString doc = parse(QStringLiteral(
        "# Title\n\n> quoted\n> 1. first\n>    - inner\n\n---\n\n```Math\nx^2\n```\n"));
    const auto &in = doc.intents();
    ASSERT_GE(in.size(), 9u);
    EXPECT_EQ(in[0].kind, Kind::heading);
    EXPECT_EQ(in[0].level, 1);
    EXPECT_EQ(in[1].kind, Kind::blockQuote);
    const auto *inner = runWith(doc, QStringLiteral("inner"));
    ASSERT_NE(inner, nullptr);
    // paragraph -> item -> unordered list -> item -> ordered list -> quote
    std::vector<Kind> chain;
    for (int id = inner->intent; id >= 0; id = doc.intent(id).parent)
        chain.push_back(doc.intent(id).kind);
    EXPECT_EQ(chain, (std::vector<Kind>{Kind::paragraph, Kind::listItem, Kind::unorderedList,
                                        Kind::listItem, Kind::orderedList, Kind::blockQuote}));
    const auto *code = runWith(doc, QStringLiteral("x^2"));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(doc.intent(code->intent).kind, Kind::codeBlock);
    EXPECT_EQ(doc.intent(code->intent).language, QStringLiteral("Math"));
    EXPECT_EQ(doc.runText(*code), QStringLiteral("x^2"));
    bool sawBreak = false;
    for (const auto &i : in)
        sawBreak |= i.kind == Kind::thematicBreak;
    EXPECT_TRUE(sawBreak);
}

TEST(MarkdownParser, ListsKeepStartOrdinalsAndTasks)
{
    const AttributedString doc = parse(QStringLiteral("7. a\n8. b\n\n- [x] done\n- [ ] open\n"));
    const auto *b = runWith(doc, QStringLiteral("b"));
    ASSERT_NE(b, nullptr);
    const auto &item = doc.intent(doc.intent(b->intent).parent);
    EXPECT_EQ(item.kind, Kind::listItem);
    EXPECT_EQ(item.level, 8);
    EXPECT_EQ(doc.intent(item.parent).start, 7);
    const auto *done = runWith(doc, QStringLiteral("done"));
    const auto *open = runWith(doc, QStringLiteral("open"));
    ASSERT_TRUE(done && open);
    EXPECT_EQ(doc.intent(doc.intent(done->intent).parent).task, AttributedString::Task::checked);
    EXPECT_EQ(doc.intent(doc.intent(open->intent).parent).task, AttributedString::Task::unchecked);
}

TEST(MarkdownParser, InlineAttributesAndRawHtmlAsText)
{
    const AttributedString doc = parse(QStringLiteral(
        "*em* **strong** ~~gone~~ `code` <b>bold?</b> ![alt text](img.png)"));
    EXPECT_TRUE(runWith(doc, "em")->attributes.has(InlineAttributes::emphasis));
    EXPECT_TRUE(runWith(doc, "strong")->attributes.has(InlineAttributes::strong));
    EXPECT_TRUE(runWith(doc, "gone")->attributes.has(InlineAttributes::strikethrough));
    EXPECT_TRUE(runWith(doc, "code")->attributes.has(InlineAttributes::code));
    EXPECT_TRUE(doc.text().contains(QStringLiteral("<b>bold?</b>")));
    EXPECT_EQ(runWith(doc, "alt text")->attributes.imageURL, QStringLiteral("img.png"));
}

TEST(MarkdownParser, TableColumnsAndAlignments)
{
    const AttributedString doc = parse(QStringLiteral("| a | b | c |\n|:--|:-:|--:|\n| 1 | 2 | 3 |\n"));
    ASSERT_FALSE(doc.intents().empty());
    const auto &table = doc.intents()[0];
    EXPECT_EQ(table.kind, Kind::table);
    using A = AttributedString::Alignment;
    EXPECT_EQ(table.columns, (std::vector<A>{A::left, A::center, A::right}));
    const auto *three = runWith(doc, "3");
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(doc.intent(three->intent).kind, Kind::tableCell);
    EXPECT_EQ(doc.intent(three->intent).level, 2);
    EXPECT_EQ(doc.intent(doc.intent(three->intent).parent).kind, Kind::tableRow);
    EXPECT_EQ(doc.intent(doc.intent(runWith(doc, "a")->intent).parent).kind, Kind::tableHeaderRow);
}

TEST(MarkdownParser, LinksResolveAndOnlyWebAndMailLinksAreClickable)
{
    const AttributedString doc = parse(QStringLiteral(
        "[rel](notes/a.md) [web](https://x.org) [js](javascript:alert(1)) [f](FILE:///etc/passwd) "
        "[d](data:text/html,hi) <https://auto.org> www.bare.org"),
        QUrl(QStringLiteral("https://base.org/dir/")));
    const auto *rel = runWith(doc, "rel");
    EXPECT_EQ(rel->attributes.link, QStringLiteral("https://base.org/dir/notes/a.md"));
    EXPECT_TRUE(rel->attributes.linkClickable);
    EXPECT_TRUE(runWith(doc, "web")->attributes.linkClickable);
    EXPECT_TRUE(runWith(doc, "auto.org")->attributes.linkClickable);
    EXPECT_TRUE(runWith(doc, "www.bare.org")->attributes.linkClickable);
    // Schemes are allowed one by one; any other is refused, also one nobody thought of.
    const AttributedString more = parse(QStringLiteral(
        "[mail](mailto:a@example.org) [ftp](ftp://x.org/f) [smb](smb://host/share) [app](x-some-app://run) "
        "[web](HTTPS://x.org)"));
    EXPECT_TRUE(runWith(more, "mail")->attributes.linkClickable);
    EXPECT_TRUE(runWith(more, "web")->attributes.linkClickable);
    for (const char *other : {"ftp", "smb", "app"}) {
        EXPECT_FALSE(runWith(more, QString::fromLatin1(other))->attributes.linkClickable) << other;
    }
    for (const char *bad : {"js", "f", "d"}) {
        const auto *run = runWith(doc, QString::fromLatin1(bad));
        ASSERT_NE(run, nullptr) << bad;
        EXPECT_FALSE(run->attributes.link.isEmpty()) << bad;
        EXPECT_FALSE(run->attributes.linkClickable) << bad;
    }
    // Without a base URL a relative destination has nowhere to go.
    EXPECT_FALSE(runWith(parse(QStringLiteral("[rel](a.md)")), "rel")->attributes.linkClickable);
}

TEST(MarkdownParser, SyntaxExtensionsApplyOnlyWhenGivenAndInOrder)
{
    const QString md = QStringLiteral("cost $x$ and :smile: but `$y$`");
    const AttributedString plain = parse(md);
    EXPECT_EQ(plain.text(), QStringLiteral("cost $x$ and :smile: but $y$"));
    for (const auto &run : plain.runs())
        EXPECT_TRUE(run.attributes.extension.isEmpty());

    SyntaxExtension emoji{QStringLiteral("emoji"), QRegularExpression(QStringLiteral(":([a-z_]+):")),
                          [](const QRegularExpressionMatch &m) {
                              return SyntaxExtension::Replacement{QStringLiteral("\U0001F604"), m.captured(1)};
                          }};
    // A greedy pattern listed first claims text before the math extension sees it.
    SyntaxExtension greedy{QStringLiteral("all"), QRegularExpression(QStringLiteral("\\$x\\$ and")), {}};
    const AttributedString marked = parse(md, {}, {greedy, SyntaxExtension::inlineMath(), emoji});
    EXPECT_EQ(runWith(marked, "$x$")->attributes.extension, QStringLiteral("all"));
    EXPECT_EQ(runWith(marked, "\U0001F604")->attributes.extensionValue, QStringLiteral("smile"));
    EXPECT_TRUE(runWith(marked, "$y$")->attributes.extension.isEmpty()); // code stays literal

    const AttributedString math = parse(md, {}, {SyntaxExtension::inlineMath()});
    EXPECT_EQ(runWith(math, "$x$")->attributes.extensionValue, QStringLiteral("x"));
}
