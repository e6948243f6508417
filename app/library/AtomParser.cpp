#include "AtomParser.h"

#include "InternetDate.h"
#include "Log.h"
#include "SearchError.h"
#include "XmlEventReader.h"

#include <QTextBoundaryFinder>
#include <QUrl>

namespace {

// The first `count` user-perceived characters, so a cut never splits an
// accented letter or a surrogate pair.
QString leadingCharacters(const QString &text, int count)
{
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

bool formsURL(const std::optional<QString> &text)
{
    return text && !text->isEmpty() && QUrl(*text, QUrl::StrictMode).isValid();
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
    m_currentElement = QByteArray(name.data(), name.size());
    m_currentValue.clear();
    if (name == "entry") {
        m_insideEntry = true;
        m_currentPaper = Entry();
        m_authors.clear();
    }
    if (!m_insideEntry) {
        m_currentElement.clear();
        return;
    }
    if (name == "link") {
        const auto title = attributes.value("title");
        const auto href = attributes.value("href");
        if (title && *title == "pdf" && href)
            m_currentPaper.pdfURL = href->toString();
    }
}

void ArxivActor::AtomParser::characters(QUtf8StringView text)
{
    if (!m_currentElement.isEmpty())
        m_currentValue.append(text.data(), text.size());
}

void ArxivActor::AtomParser::endElement(QUtf8StringView name)
{
    if (!m_insideEntry)
        return;
    // Only the elements read below need their text decoded.
    const auto value = [this] { return QString::fromUtf8(m_currentValue).trimmed(); };
    if (name == "id") {
        const QString text = value();
        m_currentPaper.url = text;
        const qsizetype abs = text.indexOf(u"abs/");
        if (abs >= 0)
            m_currentPaper.id = text.mid(abs + 4);
    } else if (name == "title") {
        if (!m_currentPaper.title) {
            const QString text = value();
            brivetLog(u"Brivet: Capturing title: %@", {leadingCharacters(text, 50)});
            m_currentPaper.title = text;
        }
    } else if (name == "summary") {
        m_currentPaper.summary = value();
    } else if (name == "name") {
        m_authors.append(value());
    } else if (name == "published") {
        if (auto date = InternetDate::parse(value()))
            m_currentPaper.published = *date;
    } else if (name == "arxiv:comment") {
        m_currentPaper.comment = value();
    } else if (name == "arxiv:doi") {
        m_currentPaper.doi = value();
    } else if (name == "entry") {
        m_insideEntry = false;
        makePaper();
    }
    m_currentElement.clear();
}

void ArxivActor::AtomParser::makePaper()
{
    const Entry &e = m_currentPaper;
    const bool complete = e.id && e.title && e.summary && e.published && formsURL(e.url) && formsURL(e.pdfURL);
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
        .url = QUrl(*e.url, QUrl::StrictMode),
        .pdfURL = QUrl(*e.pdfURL, QUrl::StrictMode),
        .comment = e.comment,
        .notes = QString(),
    });
}
