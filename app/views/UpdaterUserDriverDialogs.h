#pragma once

#include "UpdaterUserDriver.h"

#include <QObject>

class QDialog;
class QDialogButtonBox;
class QIcon;
class Workspace;

// The updater's dialogs: window-modal over the active window (or over the
// first window shown when Brivet is in the background), one at a time since
// the updater runs one check at a time. Links and the download button open
// their pages through the workspace.
//
// Object names, for tests and accessibility tools: "updateQuestionDialog",
// "upToDateDialog", "updateFoundDialog", "updateFailedDialog".
class UpdaterUserDriverDialogs : public QObject, public UpdaterUserDriver {
    Q_OBJECT
public:
    // The workspace must outlive every dialog.
    explicit UpdaterUserDriverDialogs(Workspace &workspace, QObject *parent = nullptr);

    QCoro::Task<bool> askToCheckAutomatically() override;
    QCoro::Task<void> showUpToDate(QString runningVersion) override;
    QCoro::Task<UpdateChoice> showUpdateFound(UpdateFeedItem update, QString runningVersion) override;
    QCoro::Task<void> showCheckFailed(QString description) override;

private:
    struct Dialog {
        QDialog *dialog;
        QDialogButtonBox *buttons;
    };
    // A dialog with an icon, a bold headline and a plain-text body;
    // notesURL, when not empty, adds a "Release Notes" link under the body.
    Dialog makeDialog(const QString &objectName, const QIcon &icon, const QString &headline, const QString &body,
                      const QUrl &notesURL = {});

    Workspace &m_workspace;
};
