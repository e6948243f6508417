#pragma once
// Anything that turns markup text into a parsed document. The note view owns one and calls it
// whenever its text needs parsing: on the GUI thread for ordinary notes, on a worker thread for
// large ones. A parser may be shared by several views, so attributedString() must be safe to
// call from any thread and from several threads at once, and must touch no GUI state.
#include "AttributedString.h"

#include <QString>
#include <stdexcept>

// Thrown by a parser that cannot produce a document. The note view swallows it and shows an
// empty document, so the message is only for tests and debugging.
class MarkupParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class MarkupParser {
public:
    virtual ~MarkupParser() = default;
    // Throws MarkupParseError when the text cannot be parsed under the parser's failure policy.
    virtual AttributedString attributedString(const QString &markup) const = 0;
};
