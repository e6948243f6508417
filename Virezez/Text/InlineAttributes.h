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
    // False for destinations that must never be opened from a note (script, local file and
    // inline data schemes); such links keep their text and look but do nothing.
    bool linkClickable = false;
    // Set on the alt text of an image, which is what the note shows in its place.
    QString imageURL;
    // Name and value left by the syntax extension that produced the run; empty otherwise.
    QString extension;
    QString extensionValue;

    bool has(Trait t) const { return (traits & t) != 0; }
    bool operator==(const InlineAttributes &) const = default;
};
