#include "UpdateFeedParser.h"

#include "Log.h"
#include "UpdateFeed.h"
#include "UpdateError.h"
#include "XmlEventReader.h"

#include <optional>
#include <string_view>

namespace {

bool is(QUtf8StringView name, std::string_view expected)
{
    return std::string_view(name.data(), size_t(name.size())) == expected;
}

std::optional<QUrl> webAddress(const QByteArray &utf8)
{
    return UpdateFeed::webAddress(QString::fromUtf8(utf8));
}

} // namespace

QList<UpdateFeedItem> UpdateFeedParser::parse(QByteArrayView document)
{
    XmlEventReader reader(*this);
    if (!reader.parse(document))
        throw UpdateError::notXml(reader.errorDescription());
    if (!m_isRss)
        throw UpdateError::notRss();
    if (m_itemCount == 0)
        throw UpdateError::noItems();
    if (m_items.isEmpty())
        throw UpdateError::noUsableItem();
    return std::move(m_items);
}

void UpdateFeedParser::startElement(QUtf8StringView name, const XmlAttributes &)
{
    ++m_depth;
    m_field = Field::none;
    if (m_depth == 1) {
        m_isRss = is(name, "rss");
    } else if (m_depth == 2) {
        m_inChannel = m_isRss && is(name, "channel");
    } else if (m_depth == 3) {
        m_inItem = m_inChannel && is(name, "item");
        if (m_inItem) {
            ++m_itemCount;
            m_hasVersion = m_hasReleaseNotes = m_hasDownload = false;
        }
    } else if (m_depth == 4 && m_inItem) {
        // The first of each wins, as in the rest of RSS.
        if (is(name, "brivet:version") && !m_hasVersion)
            m_field = Field::version;
        else if (is(name, "link") && !m_hasReleaseNotes)
            m_field = Field::releaseNotes;
        else if (is(name, "brivet:downloadLink") && !m_hasDownload)
            m_field = Field::download;
        m_text.truncate(0);
    }
}

void UpdateFeedParser::characters(QUtf8StringView text)
{
    if (m_field != Field::none)
        m_text.append(text.data(), text.size());
}

void UpdateFeedParser::cdata(QUtf8StringView text)
{
    characters(text);
}

void UpdateFeedParser::endElement(QUtf8StringView)
{
    if (m_depth == 4) {
        switch (m_field) {
        case Field::version:
            m_version = m_text, m_hasVersion = true;
            break;
        case Field::releaseNotes:
            m_releaseNotes = m_text, m_hasReleaseNotes = true;
            break;
        case Field::download:
            m_download = m_text, m_hasDownload = true;
            break;
        case Field::none:
            break;
        }
        m_field = Field::none;
    } else if (m_depth == 3 && m_inItem) {
        finishItem();
        m_inItem = false;
    }
    --m_depth;
}

void UpdateFeedParser::finishItem()
{
    const QString versionText = m_hasVersion ? QString::fromUtf8(m_version).trimmed() : QString();
    const std::optional<SoftwareVersion> version = SoftwareVersion::parse(versionText);
    const std::optional<QUrl> download = m_hasDownload ? webAddress(m_download) : std::nullopt;
    if (!version || !download) {
        brivetLog(u"Brivet: Skipping unusable update feed item. Version: %@, download link: %@",
                  {m_hasVersion ? versionText : QStringLiteral("none"),
                   m_hasDownload ? QString::fromUtf8(m_download).trimmed() : QStringLiteral("none")});
        return;
    }
    // Notes are a courtesy: an item whose notes link is unusable still offers its download.
    const std::optional<QUrl> notes = m_hasReleaseNotes ? webAddress(m_releaseNotes) : std::nullopt;
    m_items.append(UpdateFeedItem{*version, *download, notes.value_or(QUrl())});
}
