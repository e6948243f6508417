#pragma once

#include "XmlEventHandler.h"

#include <QByteArrayView>
#include <QString>

// A streaming XML reader over expat that hands its events to one handler.
//
// It never loads anything from outside the given bytes: external entities and
// external DTD subsets are not fetched, and expat's protection against
// entity-expansion ("billion laughs") attacks stays at its defaults.
// Comments and processing instructions are not reported.
class XmlEventReader {
public:
    explicit XmlEventReader(XmlEventHandler &handler) : m_handler(handler) {}

    // Reads the whole document. True when it is well-formed; otherwise
    // errorDescription() says why. Events up to the fault have been delivered.
    bool parse(QByteArrayView document);

    // A readable description of the first well-formedness error, e.g.
    // "mismatched tag (line 4, column 2)"; empty after a successful parse.
    const QString &errorDescription() const { return m_error; }

private:
    XmlEventHandler &m_handler;
    QString m_error;
};
