#pragma once

#include "UpdaterUserDriver.h"

#include <QStringList>
#include <QTimer>
#include <qcoro/qcorotimer.h>

// Answers the updater at once (or, with hold, when release() is called) and
// writes down what it was asked to show, one line per call:
// "ask", "upToDate 1.0.0", "found 1.2.0 <notes> <download>", "failed <description>".
class FakeUpdaterUserDriver : public UpdaterUserDriver {
public:
    bool answerAllowAutomaticChecks = true;
    UpdateChoice choice = UpdateChoice::later;
    bool hold = false;
    QStringList calls;

    // Ends the outcome the driver is holding.
    void release() { m_gate.start(0); }

    QCoro::Task<bool> askToCheckAutomatically() override
    {
        calls << QStringLiteral("ask");
        co_await waitIfHolding();
        co_return answerAllowAutomaticChecks;
    }
    QCoro::Task<void> showUpToDate(QString runningVersion) override
    {
        calls << QStringLiteral("upToDate ") + runningVersion;
        co_await waitIfHolding();
    }
    QCoro::Task<UpdateChoice> showUpdateFound(UpdateFeedItem update, QString) override
    {
        calls << QStringLiteral("found %1 <%2> <%3>")
                     .arg(update.version.text(), update.releaseNotesURL.toString(), update.downloadURL.toString());
        co_await waitIfHolding();
        co_return choice;
    }
    QCoro::Task<void> showCheckFailed(QString description) override
    {
        calls << QStringLiteral("failed ") + description;
        co_await waitIfHolding();
    }

private:
    QCoro::Task<void> waitIfHolding()
    {
        if (hold) {
            // Held until release() restarts the timer at zero.
            m_gate.setSingleShot(true);
            m_gate.start(std::chrono::hours(1));
            co_await m_gate;
        }
    }

    QTimer m_gate;
};
