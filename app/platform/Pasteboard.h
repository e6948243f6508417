#pragma once

#include <QString>

// The desktop's clipboard, for plain text. Needs a running QGuiApplication.
class Pasteboard {
public:
    // Empties the clipboard, so that no earlier content in another format stays behind.
    void clearContents();
    void setString(const QString &text);
    QString string() const;
};
