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
    };

    explicit ImportError(Kind kind);
    Kind kind() const noexcept { return m_kind; }
    bool operator==(const ImportError &other) const noexcept { return m_kind == other.m_kind; }

    static QString describe(Kind kind);

private:
    Kind m_kind;
};
