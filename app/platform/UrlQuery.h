#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <optional>
#include <utility>

// Builds the query of a request URL from ordered name/value items.
//
// Each name and value is encoded as one query component: its UTF-8 bytes stay
// as they are when they are unreserved (letters, digits, - . _ ~) or one of
// ! $ ' ( ) * + , ; : @ / ?, and every other byte becomes %XX (upper-case hex).
// So a space is %20 while '+', ':' and '/' pass unchanged; '&', '=' and '#'
// are escaped too, so that typed text can never split or end the query.
class UrlQuery {
public:
    using Items = QList<std::pair<QString, QString>>;

    static QByteArray encodeComponent(QStringView text);
    // name=value pairs joined by '&', in the given order.
    static QByteArray encode(const Items &items);

    // The base URL (an absolute http(s) or file URL; any query or fragment of
    // it is dropped) with the items as its query, or nothing when the base
    // does not form such a URL.
    static std::optional<QUrl> withItems(const QString &base, const Items &items);
};
