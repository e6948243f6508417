#pragma once

#include "BrivetError.h"

// Why a paper described by hand could not be imported; the importer shows the
// description after "Error: ".
class ImportError : public BrivetError {
public:
    enum class Kind {
        idMissing,
        titleMissing,
        summaryMissing,
        urlMissing,
        pdfMissing,
        authorMissing,
        invalidDownloadURL,
        pdfAccessDenied,
        // The PDF, downloaded or picked, could not be written where the paper keeps it
        // (a full disk, a folder that cannot be made); the description names the reason.
        pdfNotSaved,
    };

    explicit ImportError(Kind kind);
    // The kind's description followed by ": " and the reason.
    ImportError(Kind kind, const QString &reason);
    Kind kind() const noexcept { return m_kind; }
    bool operator==(const ImportError &other) const noexcept { return m_kind == other.m_kind; }

    static QString describe(Kind kind);

private:
    Kind m_kind;
};
