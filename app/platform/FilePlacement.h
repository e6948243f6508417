#pragma once

#include <QString>

// Puts a file in its place without a moment in which the place holds part of it: whatever
// was at the destination stays as it was until the new file is whole beside it, and is
// then replaced in one step. Failures throw BrivetError with the system's reason.
class FilePlacement {
public:
    // Moves source to destination: a rename, or across file systems a copy and the removal
    // of the source once the copy is in place.
    static void move(const QString &source, const QString &destination);
    // Copies source over destination. Nothing is done when both name the same file (the
    // same file on the same device, whichever paths lead to it).
    static void copy(const QString &source, const QString &destination);
    // Whether both paths lead to one existing file.
    static bool sameFile(const QString &first, const QString &second);
};
