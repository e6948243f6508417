#include "SearchError.h"

SearchError::SearchError(Kind kind, const QString &description, const QString &message)
    : BrivetError(description), m_kind(kind), m_message(message)
{
}

SearchError SearchError::parsingError(const QString &message)
{
    return SearchError(Kind::parsingError, QStringLiteral("Error parsing data: ") + message, message);
}

SearchError SearchError::invalidURL()
{
    return SearchError(Kind::invalidURL, QStringLiteral("Invalid URL"));
}

SearchError SearchError::invalidResponse()
{
    return SearchError(Kind::invalidResponse, QStringLiteral("Invalid response received"));
}

SearchError SearchError::missingData()
{
    return SearchError(Kind::missingData, QStringLiteral("Some data is missing from the api's response"));
}
