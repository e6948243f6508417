#pragma once

#include <QString>

// The application's own places on disk. Both are per-user; nothing lives under a
// fixed name in the shared /tmp, where another user could plant or read files.
class AppFolders {
public:
    // $XDG_DATA_HOME/Brivet/Documents: the PDFs of listed papers when there is no cloud folder.
    static QString documents();
    // $XDG_CACHE_HOME/Brivet: the PDFs of papers that are in no list. Created on demand,
    // readable by the user only.
    static QString temporary();
};
