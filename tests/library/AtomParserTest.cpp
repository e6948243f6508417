#include "AtomParser.h"
#include "LogCapture.h"
#include "QtPrinters.h"
#include "RealData.h"
#include "SearchError.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

QList<SearchRecord> parse(const QByteArray &xml) { return ArxivActor::AtomParser().parse(xml); }
QByteArray realFeed(const QString &name) { return realData("arxiv/" + name); }

QByteArray feed(const QByteArray &entries)
{
    return "<feed xmlns='http://www.w3.org/2005/Atom' xmlns:arxiv='http://arxiv.org/schemas/atom'>"
           "<title>feed title</title><id>http://arxiv.org/api/x</id>" + entries + "</feed>";
}

const QByteArray pdf = "<link href='https://arxiv.org/pdf/x' title='pdf'/>";
const QByteArray base = "<id>http://arxiv.org/abs/hep-th/9901001v1</id><published>2023-01-05T17:42:11Z</published>"
                        "<summary>S</summary>";

} // namespace

TEST(AtomParser, EveryRecordedFeedGivesItsCompleteEntries)
{
    // Worked out by hand: an entry is complete when its id has "abs/" and it has a
    // title, a summary, a zoned published date and a link titled "pdf".
    struct { const char *file; int papers, skipped, withDoi, withComment; const char *firstId; } const expected[] = {
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
        // The 2025-11 recordings have bare pdf links without title="pdf": all skipped.
        {"rsxiv_2025-11_newapi_id_2206.06921_latex_summary_doi.xml", 0, 1, 0, 0, ""},
        {"rsxiv_2025-11_newapi_id_list_3_missing_ids.xml", 0, 1, 0, 0, ""},
        {"rsxiv_2025-11_newapi_search_cat_math.CA_AND_ti_diffuse.xml", 0, 10, 0, 0, ""},
        {"rsxiv_2025-11_newapi_search_electron_AND_proton.xml", 0, 10, 0, 0, ""},
        {"xiv_2025-10_search_cat_cs.RO_multiline_comment.xml", 2, 0, 0, 1, "2510.14968v1"},
        {"zoia_2020-09_id_1601.00001_tex_accent_in_summary.xml", 1, 0, 1, 0, "1601.00001v1"},
    };
    ASSERT_EQ(QDir(QStringLiteral(BRIVET_TEST_DATA_DIR "/arxiv")).entryList({"*.xml"}).size(), int(std::size(expected)));
    for (const auto &e : expected) {
        SCOPED_TRACE(e.file);
        LogCapture log;
        const QList<SearchRecord> papers = parse(realFeed(e.file));
        ASSERT_EQ(papers.size(), e.papers);
        EXPECT_EQ(log.lines().filter("Brivet: Skipping incomplete paper entry.").size(), e.skipped);
        EXPECT_EQ(log.lines().last(), QStringLiteral("Brivet: XML parsing succeeded, found %1 papers").arg(e.papers));
        EXPECT_EQ(std::count_if(papers.begin(), papers.end(), [](auto &p) { return p.doi.has_value(); }), e.withDoi);
        EXPECT_EQ(std::count_if(papers.begin(), papers.end(), [](auto &p) { return p.comment.has_value(); }), e.withComment);
        EXPECT_EQ(papers.isEmpty() ? QString() : papers.first().id, e.firstId);
        for (const SearchRecord &p : papers)
            EXPECT_TRUE(p.url.toString().endsWith("abs/" + p.id) && p.pdfURL && p.notes.isEmpty());
    }
}

TEST(AtomParser, RecordedEntriesKeepTheirValues)
{
    LogCapture log;
    const SearchRecord p = parse(realFeed("arxivpy_2026-04_newapi_search_testing_start0_max100.xml")).first();
    EXPECT_EQ(p.title, "Testing Deep Learning Models: A First Comparative Study of Multiple Testing Techniques");
    EXPECT_TRUE(p.summary.startsWith("Deep Learning (DL) has") && p.summary.endsWith("discuss its results."));
    EXPECT_EQ(p.authors, (QStringList{"Mohit Kumar Ahuja", "Arnaud Gotlieb", "Helge Spieker"}));
    EXPECT_EQ(p.published, QDateTime(QDate(2022, 2, 24), QTime(15, 5, 19), Qt::UTC));
    EXPECT_EQ(p.doi, "10.1109/ICSTW55395.2022.00035");
    EXPECT_EQ(p.url, QUrl("http://arxiv.org/abs/2202.12139v1"));
    EXPECT_EQ(p.pdfURL, QUrl("https://arxiv.org/pdf/2202.12139v1"));
    EXPECT_EQ(p.comment, "Artificial Intelligence in Software Testing 2022 workshop @ ICST 2022");
    EXPECT_EQ(log.lines().first(), "Brivet: Capturing title: Testing Deep Learning Models: A First Comparative ");

    EXPECT_EQ(parse(realFeed("arxivpy_2026-04_newapi_id_2104.12255v1_title_is_0.xml")).first().title, "0");
    const QStringList authors = parse(realFeed("arxivpy_2026-04_newapi_id_list_one_missing_34authors_nonascii.xml")).first().authors;
    EXPECT_TRUE(authors.size() == 34 && authors.contains(QString::fromUtf8("Dirk Wübben"))) << authors.join(", ").toStdString();
    parse(realFeed("pubs_2019_id_INVALIDID_error_http400.xml"));
    EXPECT_EQ(log.lines().filter("Brivet: Skipping").value(0), "Brivet: Skipping incomplete paper entry. Has id:no, "
                                                                "title:yes, summary:yes, published:no, pdfURL:no URL");
}

TEST(AtomParser, EntryRules)
{
    using Check = std::function<void(const SearchRecord &)>;
    struct { const char *name; QByteArray body; Check check; } const kept[] = {
        {"mixed content keeps the last child's text", base + "<title>T</title>" + pdf +
             "<summary>before <b>child</b> after</summary>", [](auto &p) { EXPECT_EQ(p.summary, "child"); }},
        {"an empty first title still wins", base + "<title/><title>Second</title>" + pdf,
         [](auto &p) { EXPECT_EQ(p.title, ""); }},
        {"empty names count", base + "<title>T</title>" + pdf + "<author><name/></author><author><name> B </name></author>",
         [](auto &p) { EXPECT_EQ(p.authors, (QStringList{"", "B"})); }},
        {"pieces are joined before trimming", base + "<title>\n  A &amp; B &#x3B1;\n  C \n</title>" + pdf,
         [](auto &p) { EXPECT_EQ(p.title, QString::fromUtf8("A & B α\n  C")); }},
        {"a later pdf link wins", base + "<title>T</title>" + pdf + "<link href='https://arxiv.org/pdf/y' title='pdf'/>",
         [](auto &p) { EXPECT_EQ(p.pdfURL, QUrl("https://arxiv.org/pdf/y")); }},
        {"doi and comment", base + "<title>T</title>" + pdf + "<arxiv:doi> 10.1/x </arxiv:doi><arxiv:comment>12 p.,\n  3 fig.</arxiv:comment>",
         [](auto &p) { EXPECT_EQ(p.doi, "10.1/x"); EXPECT_EQ(p.comment, "12 p.,\n  3 fig."); }},
        {"another prefix for the arXiv namespace", base + "<title>T</title>" + pdf +
             "<ax:doi xmlns:ax='http://arxiv.org/schemas/atom'>10.1/x</ax:doi>", [](auto &p) { EXPECT_FALSE(p.doi); }},
        {"a date with no-break spaces around", "<id>http://arxiv.org/abs/1</id><published>\xc2\xa0 2023-01-05T17:42:11Z\xc2\xa0"
             "</published><title>T</title><summary>S</summary>" + pdf, [](auto &p) { EXPECT_EQ(p.published.date(), QDate(2023, 1, 5)); }},
        {"CDATA is not read", base + "<title>T<![CDATA[ hidden]]></title>" + pdf, [](auto &p) { EXPECT_EQ(p.title, "T"); }},
    };
    for (const auto &c : kept) {
        LogCapture log;
        const auto papers = parse(feed("<entry>" + c.body + "</entry>"));
        ASSERT_EQ(papers.size(), 1) << c.name;
        c.check(papers.first());
    }
    const std::pair<QByteArray, QString> skipped[] = {
        {base + "<title>T</title><link href='https://arxiv.org/pdf/x' rel='related'/>", "published:yes, pdfURL:no URL"},
        {base + "<title>T</title><link href='a b' title='pdf'/>", "published:yes, pdfURL:a b"},
        {"<id>http://arxiv.org/abs/1</id><published>2023-01-05T17:42:11</published><title>T</title><summary>S</summary>" + pdf,
         "published:no, pdfURL:https://arxiv.org/pdf/x"},
        {"<id>http://arxiv.org/abs/1</id><published>2023-01-05T17:42:11.2Z</published><title>T</title><summary>S</summary>" + pdf,
         "published:no, pdfURL:https://arxiv.org/pdf/x"},
        {"<id>http://arxiv.org/api/errors#x</id><title>T</title>", "Has id:no, title:yes, summary:no, published:no"},
    };
    for (const auto &[body, line] : skipped) {
        LogCapture log;
        EXPECT_TRUE(parse(feed("<entry>" + body + "</entry>")).isEmpty());
        EXPECT_TRUE(log.lines().filter("Brivet: Skipping incomplete paper entry. ").value(0).contains(line))
            << log.lines().join('\n').toStdString();
    }
}

TEST(AtomParser, EntriesAreIndependentAndOnlyTheirTextCounts)
{
    LogCapture log;
    // A second title is neither logged nor stored.
    const QByteArray complete = "<entry>" + base + "<title>T</title>" + pdf + "<title>Second</title></entry>";
    const auto papers = parse(feed(complete + "<title>between</title><entry><id>http://arxiv.org/abs/2</id></entry>" + complete));
    ASSERT_EQ(papers.size(), 2);
    EXPECT_EQ(papers[0], papers[1]);
    EXPECT_EQ(papers[0].title, "T");
    EXPECT_EQ(log.lines().filter("Brivet: Capturing title: "), (QStringList{"Brivet: Capturing title: T", "Brivet: Capturing title: T"}));
    // The title line holds its first 50 characters, not bytes.
    parse(feed("<entry><title>" + QString::fromUtf8("é").repeated(60).toUtf8() + "</title></entry>"));
    EXPECT_EQ(log.lines().filter("Brivet: Capturing title: ").last(), "Brivet: Capturing title: " + QString::fromUtf8("é").repeated(50));
}

TEST(AtomParser, MalformedXmlFailsEvenAfterCompleteEntries)
{
    for (const QByteArray &bad : {feed("<entry>" + base + "<title>T</title>" + pdf + "</entry><entry><title>x</entry>"),
                                  QByteArray(), QByteArray("<html><body>Service unavailable</body>")}) {
        LogCapture log;
        try {
            parse(bad);
            ADD_FAILURE() << bad.toStdString();
        } catch (const SearchError &e) {
            EXPECT_EQ(e.kind(), SearchError::Kind::parsingError);
            EXPECT_EQ(e.description(), "Error parsing data: " + e.message());
            EXPECT_EQ(log.lines().last(), "Brivet: XML parsing failed: " + e.message());
        }
    }
}
