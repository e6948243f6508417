#pragma once
// The inline attributes of one run of a parsed document.
#include <QString>
#include <QtGlobal>

struct InlineAttributes {
    enum Trait : quint8 {
        emphasis = 1 << 0,
        strong = 1 << 1,
        strikethrough = 1 << 2,
        code = 1 << 3,
    };

    quint8 traits = 0;
    // Destination of the enclosing link, already resolved against the base URL; empty when
    // the run is not part of a link.
    QString link;
    // True only for destinations that a note may open (web pages and mail addresses); other
    // links show as their plain text and open nothing.
    bool linkClickable = false;
    // Set on the alt text of an image, which is what the note shows in its place.
    QString imageURL;
    // Name and value left by the syntax extension that produced the run; empty otherwise.
    QString extension;
    QString extensionValue;

    bool has(Trait t) const { return (traits & t) != 0; }
    bool operator==(const InlineAttributes &) const = default;
};
