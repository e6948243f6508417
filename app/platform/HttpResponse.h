#pragma once

#include <QByteArray>

// What a URL session hands back for an answer that arrived whole.
struct HttpResponse {
    // The HTTP status code; 0 when the answer did not come over HTTP (a
    // file: or data: URL, for instance).
    int statusCode = 0;
    QByteArray body;

    bool isHttp() const { return statusCode > 0; }
    bool isSuccess() const { return statusCode >= 200 && statusCode <= 299; }
};
