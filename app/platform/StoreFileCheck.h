#pragma once

#include <QString>

// The checks made on a store's folder and file before SQLite opens it, so that
// a file that cannot be a healthy store is refused without ever being written.
class StoreFileCheck {
public:
    enum class Outcome { noFile, existingFile };

    // Creates the folder when missing. Throws BrivetError with a readable
    // description when the folder cannot be used or the file is unreadable,
    // not a database or shorter than its header says.
    static Outcome inspect(const QString &folder, const QString &filePath);
};
