#pragma once

#include "Paper.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// The value form of a paper that travels by drag and drop: the ten value
// fields, none of the lists. It is carried as one JSON object under the MIME
// format `mimeType`:
//   "id", "title", "summary", "notes": strings; "authors": array of strings;
//   "published": seconds since 2001-01-01T00:00:00Z (a number, negative before);
//   "url": the URL text; "doi", "pdfURL", "comment": left out when none.
struct TransferablePaper {
    static constexpr const char mimeType[] = "com.quendo.brivet.paper";

    QString id;
    QString title;
    QString summary;
    QStringList authors;
    QDateTime published;
    std::optional<QString> doi;
    QUrl url;
    std::optional<QUrl> pdfURL;
    std::optional<QString> comment;
    QString notes;

    TransferablePaper() = default;
    explicit TransferablePaper(const Paper &paper);

    // A new plain paper with the same values and no lists; the caller inserts it.
    PaperPtr toPaper() const;

    QByteArray toJson() const;
    // Throws BrivetError with a readable description when the JSON is not a
    // paper: a required key missing, a value of the wrong type, an unreadable
    // URL. Unknown keys are ignored; null counts as none for the optional keys.
    static TransferablePaper fromJson(const QByteArray &json);

    bool operator==(const TransferablePaper &other) const = default;
};
