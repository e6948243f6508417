#include "UrlQuery.h"

namespace {

bool passesUnchanged(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '-': case '.': case '_': case '~':
    case '!': case '$': case '\'': case '(': case ')': case '*': case '+': case ',': case ';':
    case ':': case '@': case '/': case '?':
        return true;
    default:
        return false;
    }
}

} // namespace

QByteArray UrlQuery::encodeComponent(QStringView text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QByteArray encoded;
    encoded.reserve(utf8.size() * 3);
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (passesUnchanged(c)) {
            encoded.append(char(c));
        } else {
            encoded.append('%');
            encoded.append(hex[c >> 4]);
            encoded.append(hex[c & 0xF]);
        }
    }
    return encoded;
}

QByteArray UrlQuery::encode(const Items &items)
{
    QByteArray query;
    for (const auto &[name, value] : items) {
        if (!query.isEmpty())
            query.append('&');
        query.append(encodeComponent(name));
        query.append('=');
        query.append(encodeComponent(value));
    }
    return query;
}

std::optional<QUrl> UrlQuery::withItems(const QString &base, const Items &items)
{
    const QUrl baseUrl(base, QUrl::StrictMode);
    if (!baseUrl.isValid() || baseUrl.isRelative() || (baseUrl.host().isEmpty() && !baseUrl.isLocalFile()))
        return std::nullopt;
    const QByteArray encoded =
        baseUrl.toEncoded(QUrl::RemoveQuery | QUrl::RemoveFragment) + '?' + encode(items);
    QUrl url = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}
