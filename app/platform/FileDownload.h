#pragma once

#include <QCoro/QCoroTask>
#include <QString>
#include <QUrl>
#include <chrono>

// Downloads one URL into one file without holding the body in memory.
//
// The bytes are streamed into a temporary file beside the destination and renamed over it
// only when the whole body arrived with status 200, so a refused, failed or cut-off
// download never leaves a truncated file that would later pass for the real one, and an
// existing file is replaced in one step.
//
// Throws HttpStatusError for any answer but 200 (status 0 when the answer is not HTTP), and
// BrivetError with the transport's or the file system's description for everything else.
class FileDownload {
public:
    // The default matches a desktop's usual wait for a silent server before giving up.
    static constexpr std::chrono::milliseconds defaultIdleTimeout{60'000};

    static QCoro::Task<void> toFile(QUrl url, QString destination,
                                    std::chrono::milliseconds idleTimeout = defaultIdleTimeout);
};
