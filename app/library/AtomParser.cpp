#include "AtomParser.h"

#include "InternetDate.h"
#include "Log.h"
#include "SearchError.h"
#include "XmlEventReader.h"

#include <QTextBoundaryFinder>
#include <QUrl>

#include <algorithm>
#include <string_view>

namespace {

// The first `count` user-perceived characters, so a cut never splits an
// accented letter or a surrogate pair.
QString leadingCharacters(const QString &text, int count)
{
    // Printable ASCII is one character per code unit: no need for the
    // (costly) boundary analysis when the cut falls inside such a run.
    const qsizetype probe = std::min<qsizetype>(text.size(), count + 1);
    bool simple = true;
    for (qsizetype i = 0; i < probe && simple; ++i)
        simple = text[i].unicode() >= 0x20 && text[i].unicode() < 0x7f;
    if (simple)
        return text.left(count);

    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype end = 0;
    for (int i = 0; i < count; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
    }
    return text.left(end);
}

// The URL a text forms, or nothing (an empty text forms none).
std::optional<QUrl> urlFrom(const std::optional<QString> &text)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    QUrl url(*text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

// The gathered text with white space and line breaks removed at both ends.
// ASCII white space is cut from the bytes before decoding, which is the
// common case; other white space (no-break spaces, line separators) is left
// to QString::trimmed.
QString trimmedText(const QByteArray &utf8)
{
    const auto isAsciiSpace = [](char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    qsizetype begin = 0, end = utf8.size();
    while (begin < end && isAsciiSpace(utf8[begin]))
        ++begin;
    while (end > begin && isAsciiSpace(utf8[end - 1]))
        --end;
    QString text = QString::fromUtf8(utf8.constData() + begin, end - begin);
    if (begin < end && (static_cast<unsigned char>(utf8[begin]) >= 0x80 || static_cast<unsigned char>(utf8[end - 1]) >= 0x80))
        return std::move(text).trimmed();
    return text;
}

// Element names compared exactly as written, inline (the length first).
bool is(QUtf8StringView name, std::string_view expected)
{
    return std::string_view(name.data(), size_t(name.size())) == expected;
}

QString yesNo(bool present)
{
    return present ? QStringLiteral("yes") : QStringLiteral("no");
}

} // namespace

ArxivActor::AtomParser::AtomParser() = default;

QList<SearchRecord> ArxivActor::AtomParser::parse(QByteArrayView data)
{
    m_papers.reserve(100);
    XmlEventReader reader(*this);
    if (!reader.parse(data)) {
        const QString description =
            reader.errorDescription().isEmpty() ? QStringLiteral("Unknown error") : reader.errorDescription();
        brivetLog(u"Brivet: XML parsing failed: %@", {description});
        m_papers.clear();
        throw SearchError::parsingError(description);
    }
    brivetLog(u"Brivet: XML parsing succeeded, found %d papers", {m_papers.size()});
    return std::move(m_papers);
}

void ArxivActor::AtomParser::startElement(QUtf8StringView name, const XmlAttributes &attributes)
{
    m_gathering = true;
    // truncate, not clear: the buffer keeps its capacity for the next element.
    m_currentValue.truncate(0);
    if (is(name, "entry")) {
        m_insideEntry = true;
        m_currentPaper = Entry();
        m_authors.clear();
    }
    if (!m_insideEntry) {
        m_gathering = false;
        return;
    }
    if (is(name, "link")) {
        const auto title = attributes.value("title");
        const auto href = attributes.value("href");
        if (title && *title == "pdf" && href)
            m_currentPaper.pdfURL = href->toString();
    }
}

void ArxivActor::AtomParser::characters(QUtf8StringView text)
{
    if (m_gathering)
        m_currentValue.append(text.data(), text.size());
}

void ArxivActor::AtomParser::endElement(QUtf8StringView name)
{
    if (!m_insideEntry)
        return;
    // Only the elements read below need their text decoded.
    const auto value = [this] { return trimmedText(m_currentValue); };
    if (is(name, "id")) {
        const QString text = value();
        m_currentPaper.url = text;
        const qsizetype abs = text.indexOf(u"abs/");
        if (abs >= 0)
            m_currentPaper.id = text.mid(abs + 4);
    } else if (is(name, "title")) {
        if (!m_currentPaper.title) {
            const QString text = value();
            brivetLog(u"Brivet: Capturing title: %@", {leadingCharacters(text, 50)});
            m_currentPaper.title = text;
        }
    } else if (is(name, "summary")) {
        m_currentPaper.summary = value();
    } else if (is(name, "name")) {
        m_authors.append(value());
    } else if (is(name, "published")) {
        // The bytes are read directly; only text with other white space
        // around it needs decoding first.
        auto date = InternetDate::parse(QByteArrayView(m_currentValue).trimmed());
        if (!date)
            date = InternetDate::parse(value());
        if (date)
            m_currentPaper.published = *date;
    } else if (is(name, "arxiv:comment")) {
        m_currentPaper.comment = value();
    } else if (is(name, "arxiv:doi")) {
        m_currentPaper.doi = value();
    } else if (is(name, "entry")) {
        m_insideEntry = false;
        makePaper();
    }
    m_gathering = false;
}

void ArxivActor::AtomParser::makePaper()
{
    Entry &e = m_currentPaper;
    // Tested in this order; the first that fails ends the attempt.
    std::optional<QUrl> url, pdfURL;
    const bool complete = e.id && e.title && e.summary && e.published && (url = urlFrom(e.url)) && (pdfURL = urlFrom(e.pdfURL));
    if (!complete) {
        brivetLog(u"Brivet: Skipping incomplete paper entry. Has id:%@, title:%@, summary:%@, published:%@, pdfURL:%@",
                  {yesNo(e.id.has_value()), yesNo(e.title.has_value()), yesNo(e.summary.has_value()),
                   yesNo(e.published.has_value()), e.pdfURL ? *e.pdfURL : QStringLiteral("no URL")});
        return;
    }
    m_papers.append(SearchRecord{
        .id = *e.id,
        .title = *e.title,
        .summary = *e.summary,
        .authors = m_authors,
        .published = *e.published,
        .doi = e.doi,
        .url = std::move(*url),
        .pdfURL = std::move(pdfURL),
        .comment = e.comment,
        .notes = QString(),
    });
}
