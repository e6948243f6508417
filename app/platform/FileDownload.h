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
// Downloads share one URL session, with its idle time-out: a server that sends nothing
// for idleTimeout ends the download with "The request timed out.", as a search would.
//
// Throws HttpStatusError for any answer but 200 (status 0 for an address that is not
// http or https, which is never fetched), the session's TransportError when no whole answer
// came, and BrivetError with the system's reason ("No space left on device") when the file
// cannot be written; then no file is left behind (see FileWriter).
class FileDownload {
public:
    // The default matches a desktop's usual wait for a silent server before giving up;
    // it is also the longest wait a download may ask for.
    static constexpr std::chrono::milliseconds defaultIdleTimeout{60'000};

    static QCoro::Task<void> toFile(QUrl url, QString destination,
                                    std::chrono::milliseconds idleTimeout = defaultIdleTimeout);
};
