#include "PaperError.h"

PaperError::PaperError(Kind kind, QString description, QString first, QString second)
    : BrivetError(std::move(description)), m_kind(kind), m_first(std::move(first)), m_second(std::move(second))
{
}

PaperError PaperError::downloadError(const QString &paperId, const QString &reason)
{
    return PaperError(Kind::downloadError,
                      QStringLiteral("Failed to download the PDF for ") + paperId + QStringLiteral(": ") + reason,
                      paperId, reason);
}

PaperError PaperError::deleteError(const QString &encodedPath, const QString &reason)
{
    // "PDf" is the text users have always seen; keep it.
    return PaperError(Kind::deleteError,
                      QStringLiteral("Failed to remove the PDf at ") + encodedPath + QStringLiteral(": ") + reason,
                      encodedPath, reason);
}
