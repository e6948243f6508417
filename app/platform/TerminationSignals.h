#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP as a Qt signal on the thread that made this object.
// A desktop session that ends, a service manager that stops the user's programs and
// Ctrl+C in a terminal all end a process this way; by default that kills it on the
// spot, without the last save and without a word about changes that could not be
// written. A second signal of the same kind, once the first was received, ends
// the process as the default would.
//
// One instance at a time: it installs the handlers, and its destructor puts the
// default ones back.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
};
