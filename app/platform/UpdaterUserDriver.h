#pragma once

#include "UpdateFeedItem.h"

#include <QString>
#include <qcoro/qcorotask.h>

// Everything the updater shows the user, and the user's answers. The updater
// awaits each task before it goes on, so a check lasts until its outcome is
// dismissed. The application's driver shows dialogs; tests answer at once.
//
// A task may outlive its driver (the dialog of a closing application): once
// it has started waiting for the user it must not touch the driver again.
class UpdaterUserDriver {
public:
    enum class UpdateChoice {
        download, // the driver has opened the download page
        skip,     // no more reminders of this version from scheduled checks
        later,
    };

    virtual ~UpdaterUserDriver() = default;

    // Asked once, at the first check the user starts: may Brivet check for
    // updates by itself? True for yes.
    virtual QCoro::Task<bool> askToCheckAutomatically() = 0;
    // The newest version is the running one (or older).
    virtual QCoro::Task<void> showUpToDate(QString runningVersion) = 0;
    virtual QCoro::Task<UpdateChoice> showUpdateFound(UpdateFeedItem update, QString runningVersion) = 0;
    // description: why the check failed, readable as it is.
    virtual QCoro::Task<void> showCheckFailed(QString description) = 0;
};
