#pragma once

#include "XmlAttributes.h"

#include <QUtf8StringView>

// Receives the events of one XmlEventReader run, synchronously, in document
// order, on the thread that called parse(). Names are exactly as written in
// the document, prefix included ("arxiv:comment"): no namespace processing.
// Every view is valid only for the duration of the call.
class XmlEventHandler {
public:
    virtual ~XmlEventHandler() = default;

    virtual void startElement(QUtf8StringView name, const XmlAttributes &attributes) = 0;
    // One run of text may arrive in several pieces (line breaks, entity
    // references); the handler joins them if it needs the whole run.
    virtual void characters(QUtf8StringView text) = 0;
    virtual void endElement(QUtf8StringView name) = 0;
    // Text inside a CDATA section comes here, not to characters(); ignored
    // unless a handler wants it.
    virtual void cdata(QUtf8StringView text) { Q_UNUSED(text); }
};
