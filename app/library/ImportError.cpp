#include "ImportError.h"

ImportError::ImportError(Kind kind) : BrivetError(describe(kind)), m_kind(kind) {}

ImportError::ImportError(Kind kind, const QString &reason)
    : BrivetError(describe(kind) + QStringLiteral(": ") + reason), m_kind(kind)
{
}

QString ImportError::describe(Kind kind)
{
    switch (kind) {
    case Kind::idMissing: return QStringLiteral("The paper's ID is missing");
    case Kind::titleMissing: return QStringLiteral("The paper's title is missing");
    case Kind::summaryMissing: return QStringLiteral("The paper's abstract is missing");
    case Kind::urlMissing: return QStringLiteral("The paper's webpage URL is missing");
    case Kind::pdfMissing: return QStringLiteral("The paper's PDF or download URL is missing");
    case Kind::authorMissing: return QStringLiteral("The paper's author(s) is missing");
    case Kind::invalidDownloadURL: return QStringLiteral("The download URL provided is not valid");
    case Kind::pdfAccessDenied: return QStringLiteral("Unable to access the PDF file given");
    case Kind::pdfNotSaved: return QStringLiteral("The PDF could not be saved");
    }
    return {};
}
