#include "SingleInstance.h"

#include "AppFolders.h"
#include "BrivetError.h"
#include "Log.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaMethod>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray newWindowRequest = QByteArrayLiteral("new-window");
const QByteArray windowOpenedReply = QByteArrayLiteral("window-opened\n");
// A request is one short line; anything longer is not from Brivet.
constexpr qint64 longestRequest = 4096;
// Between two attempts while the holder is not listening yet (it listens right after
// taking the lock) or has stopped listening because it is quitting.
constexpr unsigned long retryPause = 20;

int remainingMilliseconds(const QDeadlineTimer &deadline)
{
    return int(std::max<qint64>(deadline.remainingTime(), 0));
}

} // namespace

SingleInstance::SingleInstance(QString storeFile, QObject *parent)
    : QObject(parent), m_storeFile(std::move(storeFile)), m_lock(m_storeFile + QStringLiteral(".lock"))
{
    // The lock is held for as long as Brivet runs, so its age says nothing; only a dead
    // holder (or, below, one that no longer holds the file) makes it stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    delete m_server;
    m_server = nullptr;
    m_lock.unlock();
}

QString SingleInstance::lockFilePath() const
{
    return m_lock.fileName();
}

QString SingleInstance::serverPath() const
{
    // Named after the store's real path, so that every spelling of one library (through
    // a symbolic link, say) meets the same running Brivet, and another library has its own.
    const QFileInfo store(m_storeFile);
    QString folder = store.absoluteDir().canonicalPath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(store.absolutePath());
    const QByteArray key = (folder + QLatin1Char('/') + store.fileName()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32);
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/brivet-")
           + QString::fromLatin1(hash);
}

QByteArray SingleInstance::launchActivationToken()
{
    QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN");
    if (token.isEmpty())
        token = qgetenv("DESKTOP_STARTUP_ID");
    return token;
}

QString SingleInstance::notAnsweringMessage()
{
    return QStringLiteral("Brivet is already running with this library but does not answer.");
}

SingleInstance::Outcome SingleInstance::start(const QByteArray &activationToken)
{
    try {
        AppFolders::prepareFolderOf(m_storeFile);
    } catch (const BrivetError &) {
        // No folder, no lock: opening the store fails next and says why.
        return Outcome::Running;
    }
    QDeadlineTimer deadline(answerTime);
    for (;;) {
        if (m_lock.tryLock(0)) {
            listen();
            return Outcome::Running;
        }
        if (m_lock.error() != QLockFile::LockFailedError) {
            brivetLog(u"Brivet: Cannot lock the library at %@; another launch could open it too.", {m_lock.fileName()});
            return Outcome::Running;
        }
        extendForStartingHolder(deadline);
        switch (askForWindow(activationToken, deadline)) {
        case Answer::WindowOpened:
            return Outcome::HandedOver;
        case Answer::NotListening:
        case Answer::Silent:
            break;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(retryPause);
    }
    if (takeOverUnheldLock()) {
        listen();
        return Outcome::Running;
    }
    return Outcome::NotAnswering;
}

void SingleInstance::extendForStartingHolder(QDeadlineTimer &deadline) const
{
    const QDateTime locked = QFileInfo(m_lock.fileName()).lastModified();
    if (!locked.isValid())
        return;
    const qint64 since = locked.msecsTo(QDateTime::currentDateTime());
    const qint64 left = startUpTime.count() - since;
    // A lock time in the future is a clock that was set back, not a holder that is starting.
    if (since >= 0 && left > deadline.remainingTime())
        deadline.setRemainingTime(left);
}

SingleInstance::Answer SingleInstance::askForWindow(const QByteArray &activationToken,
                                                    const QDeadlineTimer &deadline) const
{
    QLocalSocket socket;
    socket.connectToServer(serverPath());
    // No socket yet (the holder is between taking the lock and listening), or one left by a
    // holder that died and whose lock is about to be taken over.
    if (!socket.waitForConnected(remainingMilliseconds(deadline)))
        return Answer::NotListening;
    QByteArray request = newWindowRequest;
    if (!activationToken.isEmpty())
        request += ' ' + activationToken.toBase64();
    socket.write(request + '\n');
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(remainingMilliseconds(deadline))) {
            // Closed without an answer: the holder is quitting and will release the lock soon.
            return socket.state() == QLocalSocket::ConnectedState ? Answer::Silent : Answer::NotListening;
        }
        reply += socket.readAll();
    }
    return reply == windowOpenedReply ? Answer::WindowOpened : Answer::Silent;
}

bool SingleInstance::takeOverUnheldLock()
{
    // QLockFile takes a lock for alive while its process id runs a program of the same
    // name: a Brivet that died may have left its id to another Brivet (of another library).
    // The holder's own hold on the file went with it, though, so a lock file that names
    // its holder but that nobody holds any more is left over. Same guard file as
    // QLockFile's own clean-up, so that two launches never remove locks at once; a lock
    // file without a holder's name is one that a launch is just writing.
    QLockFile removing(m_lock.fileName() + QStringLiteral(".rmlock"));
    if (!removing.tryLock(0))
        return false;
    qint64 holder = 0;
    if (!m_lock.getLockInfo(&holder, nullptr, nullptr) || !m_lock.removeStaleLockFile())
        return false;
    return m_lock.tryLock(0);
}

void SingleInstance::listen()
{
    const QString path = serverPath();
    // Whoever made a socket there before ended without closing it: this process holds the lock.
    QLocalServer::removeServer(path);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptLaunches);
    if (!m_server->listen(path))
        brivetLog(u"Brivet: Cannot listen for other launches at %@: %@", {path, m_server->errorString()});
    // Once the event loop is over nothing would answer; a launch then waits for the lock.
    if (QCoreApplication *application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &SingleInstance::stopListening);
}

void SingleInstance::stopListening()
{
    if (m_server)
        m_server->close();
}

void SingleInstance::acceptLaunches()
{
    while (QLocalSocket *launch = m_server->nextPendingConnection()) {
        connect(launch, &QLocalSocket::disconnected, launch, &QObject::deleteLater);
        connect(launch, &QLocalSocket::readyRead, this, [this, launch] { answer(launch); });
    }
}

void SingleInstance::answer(QLocalSocket *launch)
{
    if (!launch->canReadLine()) {
        if (launch->bytesAvailable() > longestRequest)
            launch->abort();
        return;
    }
    const QList<QByteArray> words = launch->readLine(longestRequest).trimmed().split(' ');
    // Nobody to open a window yet (the store failed to open and its message is up): no
    // answer, and the launch goes on waiting for the lock.
    if (words.first() != newWindowRequest || words.size() > 2
        || !isSignalConnected(QMetaMethod::fromSignal(&SingleInstance::windowRequested))) {
        launch->abort();
        return;
    }
    emit windowRequested(QByteArray::fromBase64(words.value(1)));
    launch->write(windowOpenedReply);
    launch->disconnectFromServer();
}
