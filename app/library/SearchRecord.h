#pragma once

#include <QDateTime>
#include <QtGlobal>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// The ten values of one search result, as a plain value. The clients build
// records away from the GUI thread; paper objects, which live on the GUI
// thread, are made from them there.
struct SearchRecord {
    QString id;
    QString title;
    QString summary;
    QStringList authors;
    QDateTime published; // UTC
    std::optional<QString> doi;
    QUrl url;
    std::optional<QUrl> pdfURL;
    std::optional<QString> comment;
    QString notes;

    friend bool operator==(const SearchRecord &, const SearchRecord &) = default;
};

// Every member is an implicitly shared Qt value (or an optional of one), none
// pointing into itself, so lists may move records as raw bytes.
Q_DECLARE_TYPEINFO(SearchRecord, Q_RELOCATABLE_TYPE);
