#pragma once

#include <QString>

// Turns free text (an identifier from a remote service or typed by the user) into one
// file name that stays inside its folder. '/', '%' and NUL are percent-encoded, and so is
// a leading '.', so that "../x", an absolute path or "" can neither leave the folder nor
// make a hidden file (an empty text becomes "%"). Encoding '%' keeps the mapping one-to-one: two texts never share a name.
class SafeFileName {
public:
    static QString fromText(const QString &text);
};
