#pragma once

// Real `brivet` processes for the tests that launch it as a user would.
#include "EnvironmentVariable.h"
#include "LibrarySchema.h"

#include <QFile>
#include <QLocalSocket>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

inline constexpr int processTime = 120000;

// The session's private runtime folder, where the running Brivet listens.
class RuntimeFolder {
public:
    RuntimeFolder() { QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }

private:
    QTemporaryDir m_dir;
    EnvironmentVariable m_variable{"XDG_RUNTIME_DIR", m_dir.path().toUtf8()};
};

inline QString storeFile()
{
    return LibrarySchema::configuration().filePath();
}

// A `brivet` launched with this process's environment (its user folders), and what is changed.
inline std::unique_ptr<QProcess> launchBrivet(const QMap<QString, QString> &changes = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (auto change = changes.begin(); change != changes.end(); ++change)
        environment.insert(change.key(), change.value());
    auto brivet = std::make_unique<QProcess>();
    brivet->setProcessEnvironment(environment);
    brivet->start(QStringLiteral(BRIVET_EXECUTABLE), {});
    return brivet;
}

// Waits with the event loop running, so that a Brivet in this process can answer.
inline bool finishes(QProcess &brivet)
{
    return QTest::qWaitFor([&] { return brivet.state() == QProcess::NotRunning; }, processTime);
}

inline bool listens(const QString &serverPath)
{
    return QTest::qWaitFor([&] {
        QLocalSocket probe;
        probe.connectToServer(serverPath);
        return probe.waitForConnected(100);
    }, processTime);
}

