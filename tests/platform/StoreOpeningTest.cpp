#include "BrivetError.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Schema.h"
#include "TemporaryDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

const EntityDescription &itemEntity()
{
    static const EntityDescription entity(QStringLiteral("Item"),
                                          {EntityDescription::indexedAttribute(QStringLiteral("name"),
                                                                               EntityDescription::Type::text)},
                                          nullptr);
    return entity;
}

Schema schema(const QString &version = QStringLiteral("1.0.0"))
{
    return Schema({&itemEntity()}, version);
}

QString storeFile(const TemporaryDataFolder &folder)
{
    return folder.filePath(QStringLiteral("LocalStore.sqlite"));
}

// The description of the error opening throws, or "opened".
QString openResult(const QString &folder)
{
    try {
        ModelContainer container(schema(), ModelConfiguration(QStringLiteral("LocalStore"), folder));
        return QStringLiteral("opened");
    } catch (const BrivetError &error) {
        return error.description();
    }
}

void sql(const QString &file, const char *statements)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    char *error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

// A store with enough rows to span many pages.
void makeStore(const TemporaryDataFolder &folder)
{
    ASSERT_EQ(openResult(folder.path()), QStringLiteral("opened"));
    sql(storeFile(folder), "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                           "INSERT INTO Item (name) SELECT printf('item %d %.*c', i, 200, 'x') FROM n");
}

// Runs `open` in a child process that has given up root, so that file
// permissions apply even when the tests run as root.
QString openWithoutPrivileges(const QString &folder)
{
    int fds[2];
    if (pipe(fds) != 0)
        return QStringLiteral("pipe failed");
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        QByteArray out;
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            out = "could not drop privileges";
        else
            out = openResult(folder).toUtf8();
        [[maybe_unused]] auto written = write(fds[1], out.constData(), size_t(out.size()));
        _exit(0);
    }
    close(fds[1]);
    QByteArray result;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        result.append(buffer, n);
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return QString::fromUtf8(result);
}

} // namespace

TEST(StoreOpening, FirstLaunchCreatesTheFolderAndTheStore)
{
    TemporaryDataFolder folder;
    const QString nested = QDir(folder.path()).filePath(QStringLiteral("data/Brivet"));
    EXPECT_EQ(openResult(nested), QStringLiteral("opened"));
    EXPECT_TRUE(QFileInfo::exists(QDir(nested).filePath(QStringLiteral("LocalStore.sqlite"))));
    EXPECT_EQ(openResult(nested), QStringLiteral("opened"));

    // An empty file is what a first launch stopped before its first write
    // leaves: there is nothing in it to lose.
    TemporaryDataFolder empty;
    TemporaryDataFolder::write(storeFile(empty), {});
    EXPECT_EQ(openResult(empty.path()), QStringLiteral("opened"));
    EXPECT_GT(QFileInfo(storeFile(empty)).size(), 0);

    EXPECT_LT(Schema::compareVersions(QStringLiteral("1.0.0"), QStringLiteral("1.10")), 0);
    EXPECT_EQ(Schema::compareVersions(QStringLiteral("1.0"), QStringLiteral("1.0.0")), 0);
}

TEST(StoreOpening, RefusesWhatItCannotUseAndLeavesTheFileAlone)
{
    struct Case {
        const char *name;
        std::function<void(const TemporaryDataFolder &)> prepare;
        QString expected;
    };
    const QList<Case> cases{
        {"text file", [](const auto &f) { TemporaryDataFolder::write(storeFile(f), "my notes\n"); },
         QStringLiteral("is not a Brivet library: it is not a database")},
        {"binary junk", [](const auto &f) { TemporaryDataFolder::write(storeFile(f), QByteArray(8192, '\x7f')); },
         QStringLiteral("is not a Brivet library: it is not a database")},
        {"foreign SQLite file",
         [](const auto &f) {
             sql(storeFile(f), "CREATE TABLE invoices (n INTEGER); INSERT INTO invoices VALUES (42);");
         },
         QStringLiteral("is not a Brivet library: it holds other data")},
        {"newer schema",
         [](const auto &f) {
             makeStore(f);
             sql(storeFile(f), "UPDATE BrivetStoreMetadata SET value = '1.1.0' WHERE key = 'version'");
         },
         QStringLiteral("was written by a newer version of Brivet (library version 1.1.0")},
        {"truncated store",
         [](const auto &f) {
             makeStore(f);
             QFile::resize(storeFile(f), QFileInfo(storeFile(f)).size() / 2);
         },
         QStringLiteral("is damaged: it is shorter than its header says")},
        {"damaged first page",
         [](const auto &f) {
             makeStore(f);
             QByteArray bytes = TemporaryDataFolder::readAll(storeFile(f));
             for (int i = 100; i < 4096; ++i)
                 bytes[i] = char(i * 7);
             TemporaryDataFolder::write(storeFile(f), bytes);
         },
         QStringLiteral("is damaged")},
        {"folder in the file's place", [](const auto &f) { QDir(f.path()).mkdir(QStringLiteral("LocalStore.sqlite")); },
         QStringLiteral("cannot be read: it is not a file")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDataFolder folder;
        c.prepare(folder);
        const QByteArray before = TemporaryDataFolder::readAll(storeFile(folder));
        const QString result = openResult(folder.path());
        EXPECT_TRUE(result.contains(c.expected)) << result.toStdString();
        EXPECT_TRUE(result.contains(storeFile(folder))) << result.toStdString();
        EXPECT_EQ(TemporaryDataFolder::readAll(storeFile(folder)), before);
        // Refusing twice gives the same answer: nothing was "repaired" the first time.
        EXPECT_EQ(openResult(folder.path()), result);
    }
}

TEST(StoreOpening, FolderThatCannotBeMade)
{
    TemporaryDataFolder folder;
    const QString blocker = folder.filePath(QStringLiteral("blocker"));
    TemporaryDataFolder::write(blocker, "a file where a folder should be");
    const QString result = openResult(QDir(blocker).filePath(QStringLiteral("Brivet")));
    EXPECT_TRUE(result.contains(QStringLiteral("could not be created"))) << result.toStdString();
}

TEST(StoreOpening, PermissionsThatForbidUse)
{
    struct Case {
        const char *name;
        QFile::Permissions folderMode;
        QFile::Permissions fileMode;
        QString expected;
    };
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
        | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    const QList<Case> cases{
        {"unreadable file", everyone, {}, QStringLiteral("cannot be read")},
        {"read-only file", everyone, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther,
         QStringLiteral("is not writable")},
        {"read-only folder", readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther,
         QStringLiteral("folder") },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryDataFolder folder;
        makeStore(folder);
        const QByteArray before = TemporaryDataFolder::readAll(storeFile(folder));
        QFile::setPermissions(storeFile(folder), c.fileMode);
        QFile::setPermissions(folder.path(), c.folderMode);
        const QString result = openWithoutPrivileges(folder.path());
        QFile::setPermissions(folder.path(), everyone);
        QFile::setPermissions(storeFile(folder), QFile::ReadOwner | QFile::WriteOwner);
        EXPECT_TRUE(result.contains(c.expected)) << result.toStdString();
        EXPECT_NE(result, QStringLiteral("opened"));
        EXPECT_EQ(TemporaryDataFolder::readAll(storeFile(folder)), before);
    }
}
