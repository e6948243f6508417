#pragma once

#include "BrivetError.h"

#include <QString>

// The error of the search clients, the feed parser and the ADS records. Its
// description is exactly the text the user reads in the error alert.
class SearchError : public BrivetError {
public:
    enum class Kind { parsingError, invalidURL, invalidResponse, missingData };

    // "Error parsing data: " followed directly by the message.
    static SearchError parsingError(const QString &message);
    // "Invalid URL"
    static SearchError invalidURL();
    // "Invalid response received"
    static SearchError invalidResponse();
    // "Some data is missing from the api's response"
    static SearchError missingData();

    Kind kind() const { return m_kind; }
    // The text a parsingError carries; empty for the other kinds.
    const QString &message() const { return m_message; }

private:
    SearchError(Kind kind, const QString &description, const QString &message = {});

    Kind m_kind;
    QString m_message;
};
