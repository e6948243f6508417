#pragma once

#include "LibrarySchema.h"
#include "LocalHttpServer.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Paper.h"
#include "PaperList.h"
#include "RecordingWorkspace.h"
#include "TemporaryDataFolder.h"
#include "TestMain.h"
#include "UserFolders.h"

#include <QDir>
#include <gtest/gtest.h>

// A library on disk in fresh user folders, a recording workspace and a local server.
// Parameterised by whether the user has a cloud folder.
class LibraryFixture : public ::testing::TestWithParam<bool> {
protected:
    LibraryFixture()
        : folders((testApp(), GetParam())),
          container(LibrarySchema::schema(), LibrarySchema::configuration(store.path()))
    {
        Workspace::setShared(workspace);
    }
    ~LibraryFixture() override { Workspace::setShared(nullptr); }

    bool withCloud() const { return GetParam(); }
    ModelContext &context() { return container.mainContext(); }
    // Where the PDFs of listed papers go for this user.
    QString listedFolder() const
    {
        return withCloud() ? folders.cloudContainer() + "/Documents" : folders.appDocuments();
    }

    PaperListPtr makeList(const QString &name)
    {
        auto list = std::make_shared<PaperList>(name, QList<Paper *>{});
        context().insert(list);
        return list;
    }
    static PaperPtr makePaper(const QString &id, std::optional<QUrl> pdf = std::nullopt)
    {
        return std::make_shared<Paper>(id, "Title " + id, "Summary", QStringList{"A. Author"},
                                       QDateTime::currentDateTimeUtc(), std::nullopt,
                                       QUrl("https://arxiv.org/abs/" + id), pdf, std::nullopt, QString());
    }
    static void writeFile(const QString &path, const QByteArray &bytes = "%PDF-1.4")
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        TemporaryDataFolder::write(path, bytes);
    }

    UserFolders folders;
    TemporaryDataFolder store;
    ModelContainer container;
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    LocalHttpServer server;
};

inline std::string cloudName(const ::testing::TestParamInfo<bool> &info)
{
    return info.param ? "WithCloud" : "WithoutCloud";
}
