#pragma once

#include "BrivetError.h"

// Why a paper's PDF could not be downloaded or deleted; the description is what the
// error alert shows.
class PaperError : public BrivetError {
public:
    enum class Kind { downloadError, deleteError };

    // first: the paper's id; second: why the download stopped.
    static PaperError downloadError(const QString &paperId, const QString &reason);
    // first: the file's path, percent-encoded as its URL holds it; second: why deletion failed.
    static PaperError deleteError(const QString &encodedPath, const QString &reason);

    Kind kind() const noexcept { return m_kind; }
    const QString &first() const noexcept { return m_first; }
    const QString &second() const noexcept { return m_second; }

private:
    PaperError(Kind kind, QString description, QString first, QString second);

    Kind m_kind;
    QString m_first;
    QString m_second;
};
