#include "StoreWriteError.h"

#include <sqlite3.h>

namespace {

QString describe(StoreWriteError::Reason reason, const QString &detail)
{
    const QString kept = QStringLiteral(" Your changes are kept and saved as soon as it can.");
    switch (reason) {
    case StoreWriteError::Reason::diskFull:
        return QStringLiteral("Brivet could not save your library: the disk is full.") + kept;
    case StoreWriteError::Reason::notWritable:
        return QStringLiteral("Brivet could not save your library: it cannot write to the library folder.") + kept;
    case StoreWriteError::Reason::other:
        break;
    }
    return QStringLiteral("Brivet could not save your library: %1").arg(detail) + kept;
}

} // namespace

StoreWriteError::StoreWriteError(Reason reason, QString detail)
    : BrivetError(describe(reason, detail)), m_reason(reason), m_detail(std::move(detail))
{
}

StoreWriteError::Reason StoreWriteError::reasonFor(int sqliteCode)
{
    switch (sqliteCode & 0xff) {
    case SQLITE_FULL:
        return Reason::diskFull;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
    case SQLITE_PERM:
        return Reason::notWritable;
    default:
        return Reason::other;
    }
}
