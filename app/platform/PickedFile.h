#pragma once

#include <QUrl>

// A file the user picked in a file dialog. Access to it is granted when it is a local
// file that can be opened for reading; anything else counts as refused.
class PickedFile {
public:
    static bool canAccess(const QUrl &url);
};
