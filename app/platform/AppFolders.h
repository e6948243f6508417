#pragma once

#include <QString>

// The application's own places on disk. Both are per-user; nothing lives under a
// fixed name in the shared /tmp, where another user could plant or read files.
// The paths are computed without touching the disk; prepareFolderOf() makes a folder
// only when a file is about to be written there.
class AppFolders {
public:
    // $XDG_DATA_HOME/Brivet/Documents: the PDFs of listed papers when there is no cloud folder.
    static QString documents();
    // $XDG_CACHE_HOME/Brivet: the PDFs of papers that are in no list.
    static QString temporary();
    // $XDG_CONFIG_HOME/Brivet/Brivet.conf: the settings Brivet keeps between runs.
    static QString settingsFile();

    // A new, unused path in the temporary folder (made if missing) for a file that is
    // being downloaded: hidden, so that it is never taken for a paper's PDF. Throws as
    // prepareFolderOf() does.
    static QString newDownloadFile();

    // Makes the folder that will hold filePath, with missing parents. The temporary
    // folder is made readable by the user only. Throws BrivetError naming the folder and
    // the system's reason when it cannot be made.
    static void prepareFolderOf(const QString &filePath);
};
