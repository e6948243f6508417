#pragma once

#include "BrivetError.h"

// Pending changes could not be written to the library. The description is the
// sentence a user reads; detail() is the store's own description of the failure
// (with SQLite's text), which the log shows.
class StoreWriteError : public BrivetError {
public:
    enum class Reason { diskFull, notWritable, other };

    StoreWriteError(Reason reason, QString detail);

    // The reason behind one of SQLite's result codes (extended or primary).
    static Reason reasonFor(int sqliteCode);

    Reason reason() const noexcept { return m_reason; }
    const QString &detail() const noexcept { return m_detail; }

private:
    Reason m_reason;
    QString m_detail;
};
