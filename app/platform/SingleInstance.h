#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <chrono>

class QDeadlineTimer;
class QLocalServer;
class QLocalSocket;

// One running Brivet per library. Two processes that write one store from their own
// memory lose and corrupt each other's changes, so the first launch takes an exclusive
// lock beside the store before it opens it, and listens on a local socket named after
// the library's path. A later launch on the same library finds the lock held and asks
// the running Brivet, over that socket, for a window instead of opening the store.
//
//     SingleInstance instance(LibrarySchema::configuration().filePath());
//     switch (instance.start(token)) {
//     case SingleInstance::Outcome::Running:      open the store, then serve windowRequested
//     case SingleInstance::Outcome::HandedOver:   exit 0
//     case SingleInstance::Outcome::NotAnswering: say so, exit 1
//     }
//
// The lock file is `<store file>.lock`; the socket lies in $XDG_RUNTIME_DIR, which only
// its user can enter. A lock left by a process that died is taken over without a word.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        // This process runs the library: it holds the lock and answers later launches.
        Running,
        // The running Brivet opened a window for this launch, which has nothing left to do.
        HandedOver,
        // Another Brivet holds the lock but did not answer in time.
        NotAnswering,
    };

    // How long a running Brivet has to answer a launch.
    static constexpr std::chrono::milliseconds answerTime{5000};
    // A holder that took the lock less than this long ago may still be opening a large
    // library before its event loop runs; a launch waits for it until then.
    static constexpr std::chrono::milliseconds startUpTime{30000};

    explicit SingleInstance(QString storeFile, QObject *parent = nullptr);
    // Stops listening first, then releases the lock.
    ~SingleInstance() override;

    // Takes the library's lock and listens, or asks the lock's holder for a window,
    // passing it this launch's activation token. Blocks, for answerTime at most (up to
    // startUpTime while the holder is starting): meant for start-up, before the store
    // is opened and before any window exists. When the lock cannot be made at all (a
    // folder nobody may write), start-up goes on as Running and the store reports
    // its own error.
    Outcome start(const QByteArray &activationToken = {});

    // Later launches are no longer answered: they wait for the lock instead, which is
    // released only when this object goes, after the store has been closed.
    void stopListening();

    QString lockFilePath() const;
    // Where the running Brivet of this library listens.
    QString serverPath() const;

    // The token with which the desktop lets this launch's window come to the front
    // (Wayland's XDG_ACTIVATION_TOKEN, X11's DESKTOP_STARTUP_ID). Read it before the
    // QGuiApplication exists: the platform integration takes it from the environment.
    static QByteArray launchActivationToken();
    static QString notAnsweringMessage();

signals:
    // A later launch asked for a window; the token is its activation token, possibly empty.
    // The launch is told that its window is open once the connected slots have returned.
    void windowRequested(const QByteArray &activationToken);

private:
    enum class Answer { WindowOpened, NotListening, Silent };

    Answer askForWindow(const QByteArray &activationToken, const QDeadlineTimer &deadline) const;
    void extendForStartingHolder(QDeadlineTimer &deadline) const;
    bool takeOverUnheldLock();
    void listen();
    void acceptLaunches();
    void answer(QLocalSocket *launch);

    QString m_storeFile;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
};
