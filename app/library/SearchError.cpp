#include "SearchError.h"

SearchError::SearchError(Kind kind, const QString &description, const QString &message)
    : BrivetError(description), m_kind(kind), m_message(message)
{
}

SearchError SearchError::parsingError(const QString &message)
{
    return SearchError(Kind::ParsingError, QStringLiteral("Error parsing data: ") + message, message);
}

SearchError SearchError::invalidURL()
{
    return SearchError(Kind::InvalidURL, QStringLiteral("Invalid URL"));
}

SearchError SearchError::invalidResponse()
{
    return SearchError(Kind::InvalidResponse, QStringLiteral("Invalid response received"));
}

SearchError SearchError::missingData()
{
    return SearchError(Kind::MissingData, QStringLiteral("Some data is missing from the api's response"));
}
