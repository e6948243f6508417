#include "AtomParser.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "SearchError.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray realFeed(const QString &name)
{
    QFile file(QStringLiteral(BRIVET_REALDATA_DIR "/arxiv/") + name);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing " << name.toStdString();
    return file.readAll();
}

QList<SearchRecord> parse(const QByteArray &xml)
{
    ArxivActor::AtomParser parser;
    return parser.parse(xml);
}

// One entry around the given inner XML, in a feed that binds the arXiv prefix.
QByteArray feed(const QByteArray &entries)
{
    return "<?xml version='1.0' encoding='UTF-8'?>\n"
           "<feed xmlns='http://www.w3.org/2005/Atom' xmlns:arxiv='http://arxiv.org/schemas/atom'>"
           "<title>feed title</title><id>http://arxiv.org/api/feedid</id>" +
           entries + "</feed>";
}

const QByteArray completeBody =
    "<id>http://arxiv.org/abs/2301.01234v2</id>"
    "<published>2023-01-05T17:42:11Z</published>"
    "<title>A title</title>"
    "<summary>A summary</summary>"
    "<author><name>Ada Lovelace</name></author>"
    "<link href='https://arxiv.org/pdf/2301.01234v2' rel='related' type='application/pdf' title='pdf'/>";

QByteArray entry(const QByteArray &body) { return "<entry>" + body + "</entry>"; }

} // namespace

TEST(AtomParser, EveryRecordedFeedGivesItsCompleteEntries)
{
    struct Expectation {
        const char *file;
        int papers, skipped, withDoi, withComment;
        const char *firstId;
    };
    // Counts worked out from the feeds by hand: an entry is complete when its id has
    // "abs/", it has title, summary, a zoned published date and a link titled "pdf".
    const Expectation expected[] = {
        {"arxivpy_2016_search_au_del_maestro.xml", 10, 0, 10, 10, "1201.4869v1"},
        {"arxivpy_2026-04_newapi_id_0000.0000_empty_total0.xml", 0, 0, 0, 0, ""},
        {"arxivpy_2026-04_newapi_id_2104.12255v1_title_is_0.xml", 1, 0, 0, 0, "2104.12255v1"},
        {"arxivpy_2026-04_newapi_id_abc_error_http400.xml", 0, 1, 0, 0, ""},
        {"arxivpy_2026-04_newapi_id_list_one_missing_34authors_nonascii.xml", 1, 0, 0, 1, "1707.08567v1"},
        {"arxivpy_2026-04_newapi_id_quant-ph_0201082v1_oldid_versioned.xml", 1, 0, 0, 1, "quant-ph/0201082v1"},
        {"arxivpy_2026-04_newapi_search_testing_start0_max10.xml", 10, 0, 6, 10, "2202.12139v1"},
        {"arxivpy_2026-04_newapi_search_testing_start0_max100.xml", 100, 0, 32, 97, "2202.12139v1"},
        {"arxivpy_2026-05_newapi_id_astro-ph_0601001_oldid_affiliations.xml", 1, 0, 0, 1, "astro-ph/0601001v1"},
        {"pubs_2019_id_1312.2021_doi_journalref.xml", 1, 0, 1, 0, "1312.2021v1"},
        {"pubs_2019_id_1710.08557_multiline_title_doi.xml", 1, 0, 1, 0, "1710.08557v1"},
        {"pubs_2019_id_INVALIDID_error_http400.xml", 0, 1, 0, 0, ""},
        {"pubs_2019_id_astro-ph_9812133_oldid_32authors_affiliations.xml", 1, 0, 1, 1, "astro-ph/9812133v1"},
        {"pubs_2019_id_math_0211159_oldid_comment_nodoi.xml", 1, 0, 0, 1, "math/0211159v1"},
        {"pubs_2019_id_math_9501234_oldid_nocomment_nodoi.xml", 1, 0, 0, 0, "math/9501234v1"},
        {"rsxiv_2025-08_id_1201.56789_nonexistent_total1_no_entries.xml", 0, 0, 0, 0, ""},
        {"rsxiv_2025-08_id_list_3_missing_ids_empty_entries.xml", 1, 3, 0, 1, "2201.13452v1"},
        {"rsxiv_2025-08_search_electron_AND_proton.xml", 10, 0, 3, 7, "astro-ph/9904306v1"},
        {"rsxiv_2025-11_newapi_id_1201.56789_nonexistent_empty.xml", 0, 0, 0, 0, ""},
        // The 2025-11 recordings carry bare pdf links without title="pdf": all skipped.
        {"rsxiv_2025-11_newapi_id_2206.06921_latex_summary_doi.xml", 0, 1, 0, 0, ""},
        {"rsxiv_2025-11_newapi_id_list_3_missing_ids.xml", 0, 1, 0, 0, ""},
        {"rsxiv_2025-11_newapi_search_cat_math.CA_AND_ti_diffuse.xml", 0, 10, 0, 0, ""},
        {"rsxiv_2025-11_newapi_search_electron_AND_proton.xml", 0, 10, 0, 0, ""},
        {"xiv_2025-10_search_cat_cs.RO_multiline_comment.xml", 2, 0, 0, 1, "2510.14968v1"},
        {"zoia_2020-09_id_1601.00001_tex_accent_in_summary.xml", 1, 0, 1, 0, "1601.00001v1"},
    };
    const QStringList onDisk = QDir(QStringLiteral(BRIVET_REALDATA_DIR "/arxiv")).entryList({"*.xml"}, QDir::Files);
    ASSERT_EQ(onDisk.size(), int(std::size(expected))) << "a recording without an expectation";

    for (const auto &e : expected) {
        SCOPED_TRACE(e.file);
        LogCapture log;
        const QList<SearchRecord> papers = parse(realFeed(e.file));
        EXPECT_EQ(papers.size(), e.papers);
        EXPECT_EQ(log.linesStartingWith("Brivet: Skipping incomplete paper entry.").size(), e.skipped);
        EXPECT_EQ(log.lines().last(), QStringLiteral("Brivet: XML parsing succeeded, found %1 papers").arg(e.papers));
        EXPECT_EQ(std::count_if(papers.begin(), papers.end(), [](auto &p) { return p.doi.has_value(); }), e.withDoi);
        EXPECT_EQ(std::count_if(papers.begin(), papers.end(), [](auto &p) { return p.comment.has_value(); }), e.withComment);
        if (!papers.isEmpty()) {
            EXPECT_EQ(papers.first().id, e.firstId);
        }
        for (const SearchRecord &p : papers) {
            EXPECT_TRUE(p.url.toString().endsWith("abs/" + p.id)) << p.url.toString().toStdString();
            EXPECT_TRUE(p.pdfURL && p.pdfURL->isValid());
            EXPECT_FALSE(p.title.startsWith(' ') || p.title.endsWith('\n'));
            EXPECT_TRUE(p.notes.isEmpty());
        }
    }
}

TEST(AtomParser, ReadsEveryFieldOfARecordedEntry)
{
    LogCapture log;
    const auto papers = parse(realFeed("arxivpy_2026-04_newapi_search_testing_start0_max100.xml"));
    ASSERT_EQ(papers.size(), 100);
    const SearchRecord &p = papers.first();
    EXPECT_EQ(p.id, "2202.12139v1");
    EXPECT_EQ(p.title, "Testing Deep Learning Models: A First Comparative Study of Multiple Testing Techniques");
    EXPECT_TRUE(p.summary.startsWith("Deep Learning (DL) has revolutionized"));
    EXPECT_TRUE(p.summary.endsWith("discuss its results."));
    EXPECT_EQ(p.authors, (QStringList{"Mohit Kumar Ahuja", "Arnaud Gotlieb", "Helge Spieker"}));
    EXPECT_EQ(p.published, QDateTime(QDate(2022, 2, 24), QTime(15, 5, 19), Qt::UTC));
    EXPECT_EQ(p.doi, "10.1109/ICSTW55395.2022.00035");
    EXPECT_EQ(p.url, QUrl("http://arxiv.org/abs/2202.12139v1"));
    EXPECT_EQ(p.pdfURL, QUrl("https://arxiv.org/pdf/2202.12139v1"));
    EXPECT_EQ(p.comment, "Artificial Intelligence in Software Testing 2022 workshop @ ICST 2022");
    EXPECT_EQ(log.lines().first(), "Brivet: Capturing title: Testing Deep Learning Models: A First Comparative ");
}

TEST(AtomParser, RecordedOddities)
{
    LogCapture log;
    const auto zero = parse(realFeed("arxivpy_2026-04_newapi_id_2104.12255v1_title_is_0.xml"));
    ASSERT_EQ(zero.size(), 1);
    EXPECT_EQ(zero.first().title, "0");

    const auto many = parse(realFeed("arxivpy_2026-04_newapi_id_list_one_missing_34authors_nonascii.xml"));
    ASSERT_EQ(many.size(), 1);
    EXPECT_EQ(many.first().authors.size(), 34);
    EXPECT_TRUE(many.first().authors.contains(QString::fromUtf8("Dirk Wübben")));

    const auto wrapped = parse(realFeed("pubs_2019_id_1710.08557_multiline_title_doi.xml"));
    ASSERT_EQ(wrapped.size(), 1);
    EXPECT_EQ(wrapped.first().title, "On Neuromechanical Approaches for the Study of Biological Grasp and\n  Manipulation");

    log.clear();
    EXPECT_TRUE(parse(realFeed("pubs_2019_id_INVALIDID_error_http400.xml")).isEmpty());
    EXPECT_TRUE(log.lines().contains("Brivet: Skipping incomplete paper entry. Has id:no, title:yes, summary:yes, "
                                     "published:no, pdfURL:no URL"));
    EXPECT_TRUE(log.lines().contains("Brivet: Capturing title: Error"));
}

TEST(AtomParser, EntryRules)
{
    struct Case {
        const char *name;
        QByteArray body;
        // Expected outcome: a record checked by `check`, or the skip line.
        std::function<void(const SearchRecord &)> check;
        const char *skipLine = nullptr;
    };
    const QByteArray pdf = "<link href='https://arxiv.org/pdf/x' title='pdf'/>";
    const QByteArray base = "<id>http://arxiv.org/abs/hep-th/9901001v1</id><published>2023-01-05T17:42:11Z</published>"
                            "<summary>S</summary>";
    const std::vector<Case> cases = {
        {"old-style id keeps its slash; url is the whole id text",
         base + "<title>T</title>" + pdf,
         [](auto &p) {
             EXPECT_EQ(p.id, "hep-th/9901001v1");
             EXPECT_EQ(p.url, QUrl("http://arxiv.org/abs/hep-th/9901001v1"));
         }},
        {"mixed content keeps the last child's text",
         "<id>http://arxiv.org/abs/1</id><published>2023-01-05T17:42:11Z</published><title>T</title>" + pdf +
             "<summary>before <b>child</b> after</summary>",
         [](auto &p) { EXPECT_EQ(p.summary, "child"); }},
        {"second title is ignored", base + "<title>First</title><title>Second</title>" + pdf,
         [](auto &p) { EXPECT_EQ(p.title, "First"); }},
        {"empty first title blocks later ones", base + "<title/><title>Second</title>" + pdf,
         [](auto &p) { EXPECT_EQ(p.title, ""); }},
        {"empty names count; no names gives no authors",
         base + "<title>T</title>" + pdf + "<author><name></name></author><author><name> B </name></author>",
         [](auto &p) { EXPECT_EQ(p.authors, (QStringList{"", "B"})); }},
        {"no authors", base + "<title>T</title>" + pdf, [](auto &p) { EXPECT_TRUE(p.authors.isEmpty()); }},
        {"text split by references is joined before trimming",
         base + "<title>\n   A &amp; B &#x3B1;\n  C  \n</title>" + pdf,
         [](auto &p) { EXPECT_EQ(p.title, QString::fromUtf8("A & B α\n  C")); }},
        {"a later pdf link replaces the earlier",
         base + "<title>T</title>" + pdf + "<link href='https://arxiv.org/pdf/y' title='pdf'/><link href='z' title='doi'/>",
         [](auto &p) { EXPECT_EQ(p.pdfURL, QUrl("https://arxiv.org/pdf/y")); }},
        {"doi and comment absent", base + "<title>T</title>" + pdf,
         [](auto &p) {
             EXPECT_FALSE(p.doi);
             EXPECT_FALSE(p.comment);
         }},
        {"doi and comment present, trimmed",
         base + "<title>T</title>" + pdf + "<arxiv:doi> 10.1/x </arxiv:doi><arxiv:comment>12 pages,\n  3 figures</arxiv:comment>",
         [](auto &p) {
             EXPECT_EQ(p.doi, "10.1/x");
             EXPECT_EQ(p.comment, "12 pages,\n  3 figures");
         }},
        {"another prefix for the arXiv namespace gives no doi or comment",
         base + "<title>T</title>" + pdf +
             "<ax:doi xmlns:ax='http://arxiv.org/schemas/atom'>10.1/x</ax:doi><ax:comment xmlns:ax='http://arxiv.org/schemas/atom'>c</ax:comment>",
         [](auto &p) {
             EXPECT_FALSE(p.doi);
             EXPECT_FALSE(p.comment);
         }},
        {"CDATA text is not read", base + "<title>T<![CDATA[ hidden]]></title>" + pdf,
         [](auto &p) { EXPECT_EQ(p.title, "T"); }},
        {"a later unreadable date keeps the earlier one",
         base + "<title>T</title>" + pdf + "<published>garbage</published>",
         [](auto &p) { EXPECT_EQ(p.published.date(), QDate(2023, 1, 5)); }},
        {"no pdf link", base + "<title>T</title><link href='https://arxiv.org/pdf/x' rel='related'/>", nullptr,
         "Has id:yes, title:yes, summary:yes, published:yes, pdfURL:no URL"},
        {"pdf link that is no URL", base + "<title>T</title><link href='a b' title='pdf'/>", nullptr,
         "Has id:yes, title:yes, summary:yes, published:yes, pdfURL:a b"},
        {"date without zone",
         "<id>http://arxiv.org/abs/1</id><published>2023-01-05T17:42:11</published><title>T</title><summary>S</summary>" + pdf,
         nullptr, "Has id:yes, title:yes, summary:yes, published:no, pdfURL:https://arxiv.org/pdf/x"},
        {"date with fractional seconds",
         "<id>http://arxiv.org/abs/1</id><published>2023-01-05T17:42:11.25Z</published><title>T</title><summary>S</summary>" + pdf,
         nullptr, "Has id:yes, title:yes, summary:yes, published:no, pdfURL:https://arxiv.org/pdf/x"},
        {"id without abs/",
         "<id>http://arxiv.org/api/errors#x</id><published>2023-01-05T17:42:11Z</published><title>T</title>" + pdf,
         nullptr, "Has id:no, title:yes, summary:no, published:yes, pdfURL:https://arxiv.org/pdf/x"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogCapture log;
        const auto papers = parse(feed(entry(c.body)));
        if (c.check) {
            ASSERT_EQ(papers.size(), 1);
            c.check(papers.first());
        } else {
            EXPECT_TRUE(papers.isEmpty());
            EXPECT_TRUE(log.lines().contains(QStringLiteral("Brivet: Skipping incomplete paper entry. ") + c.skipLine))
                << log.lines().join('\n').toStdString();
        }
    }
}

TEST(AtomParser, TitleLoggingFollowsTheFirstTitleOnly)
{
    LogCapture log;
    const QByteArray longTitle = QString::fromUtf8("é").repeated(60).toUtf8();
    parse(feed(entry(completeBody) + entry("<id>http://arxiv.org/abs/2</id><title>" + longTitle + "</title><title>Again</title>")));
    const QStringList titles = log.linesStartingWith("Brivet: Capturing title: ");
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[0], "Brivet: Capturing title: A title");
    EXPECT_EQ(titles[1], "Brivet: Capturing title: " + QString::fromUtf8("é").repeated(50));
}

TEST(AtomParser, EntriesAreIndependentAndOutsideTextIsIgnored)
{
    LogCapture log;
    const auto papers = parse(feed(entry(completeBody) + "<title>between</title>" +
                                   entry("<id>http://arxiv.org/abs/2</id><summary>only</summary>") + entry(completeBody)));
    ASSERT_EQ(papers.size(), 2);
    EXPECT_EQ(papers[0], papers[1]);
    EXPECT_EQ(papers[0].authors, QStringList{"Ada Lovelace"});
    EXPECT_TRUE(log.lines().contains(
        "Brivet: Skipping incomplete paper entry. Has id:yes, title:no, summary:yes, published:no, pdfURL:no URL"));
}

TEST(AtomParser, MalformedXmlFailsEvenAfterCompleteEntries)
{
    for (const QByteArray &bad : {feed(entry(completeBody) + "<entry><title>unclosed</entry>"), QByteArray(),
                                  QByteArray("<html><body>Service unavailable</body>")}) {
        LogCapture log;
        try {
            parse(bad);
            ADD_FAILURE() << "no error for " << bad.toStdString();
        } catch (const SearchError &e) {
            EXPECT_EQ(e.kind(), SearchError::Kind::ParsingError);
            EXPECT_FALSE(e.message().isEmpty());
            EXPECT_EQ(e.description(), "Error parsing data: " + e.message());
            EXPECT_EQ(log.lines().last(), "Brivet: XML parsing failed: " + e.message());
        }
    }
}
