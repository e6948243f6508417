#pragma once

#include "UpdateFeedItem.h"
#include "XmlEventHandler.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Reads an update feed: an RSS 2.0 document whose channel lists one item per
// release. Besides RSS's own elements, an item carries two of Brivet's,
// written with the prefix "brivet":
//
//     <rss version="2.0" xmlns:brivet="https://quendo.com/xmlns/brivet-updates">
//       <channel>
//         <title>Brivet</title>
//         <item>
//           <title>Brivet 1.2.0</title>
//           <brivet:version>1.2.0</brivet:version>
//           <link>https://example.org/brivet/1.2.0.html</link>            (release notes)
//           <brivet:downloadLink>https://example.org/brivet/download</brivet:downloadLink>
//         </item>
//       </channel>
//     </rss>
//
// An item without a readable version or download link is skipped with a log
// line, so one bad entry does not hide the others; a feed with nothing usable
// fails. One parser reads one document.
class UpdateFeedParser : public XmlEventHandler {
public:
    // The usable items in feed order. Throws UpdateError when the document is
    // not well-formed, is no RSS document, or lists no usable item.
    QList<UpdateFeedItem> parse(QByteArrayView document);

    void startElement(QUtf8StringView name, const XmlAttributes &attributes) override;
    void characters(QUtf8StringView text) override;
    void cdata(QUtf8StringView text) override;
    void endElement(QUtf8StringView name) override;

private:
    enum class Field { none, version, releaseNotes, download };

    void finishItem();

    int m_depth = 0;
    bool m_isRss = false;
    bool m_inChannel = false;
    bool m_inItem = false;
    Field m_field = Field::none;
    QByteArray m_text;
    QByteArray m_version, m_releaseNotes, m_download;
    bool m_hasVersion = false, m_hasReleaseNotes = false, m_hasDownload = false;
    int m_itemCount = 0;
    QList<UpdateFeedItem> m_items;
};
