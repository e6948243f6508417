#pragma once

#include "ArxivActor.h"
#include "SearchRecord.h"
#include "XmlEventHandler.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

// Turns one arXiv Atom feed into records, one per complete entry, in feed
// order. Incomplete entries are skipped with a log line; only a document that
// is not well-formed fails the parse. One parser serves one feed and is used
// by one thread at a time.
//
// Its rules follow the event stream literally: element names are compared
// with their prefixes as written; text is gathered only inside entries and
// only since the last start tag, so mixed content keeps the text of its last
// child; the first title of an entry wins, even an empty one.
class ArxivActor::AtomParser : public XmlEventHandler {
public:
    AtomParser();

    // The records of the feed's complete entries. Throws
    // SearchError::parsingError with the XML reader's description.
    QList<SearchRecord> parse(QByteArrayView data);

    void startElement(QUtf8StringView name, const XmlAttributes &attributes) override;
    void characters(QUtf8StringView text) override;
    void endElement(QUtf8StringView name) override;

private:
    // The fields of the entry being read; an empty optional is a missing key.
    struct Entry {
        std::optional<QString> url, id, title, summary, comment, doi, pdfURL;
        std::optional<QDateTime> published;
    };

    void makePaper();

    QList<SearchRecord> m_papers;
    // Whether text is being gathered for the element last started; only
    // whether it is empty mattered, so the element's name itself is not kept.
    bool m_gathering = false;
    Entry m_currentPaper;
    QByteArray m_currentValue;   // UTF-8 bytes since the last start tag
    QStringList m_authors;
    bool m_insideEntry = false;
};
