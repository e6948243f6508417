#pragma once

#include "BrivetError.h"

// Why an update check found no answer in what the server sent. (When no
// answer arrived at all, the session's TransportError says why.)
class UpdateError : public BrivetError {
public:
    static UpdateError invalidFeedAddress(const QString &address);
    static UpdateError httpStatus(int status);
    // The document is not well-formed XML; reason is the XML reader's.
    static UpdateError notXml(const QString &reason);
    static UpdateError notRss();
    static UpdateError noItems();
    // Items were there, but none had a version and download link Brivet can use.
    static UpdateError noUsableItem();

private:
    using BrivetError::BrivetError;
};
