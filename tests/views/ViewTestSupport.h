#pragma once

#include "AppState.h"
#include "BrivetApp.h"
#include "DataManager.h"
#include "ErrorHandler.h"
#include "LibrarySchema.h"
#include "LocalHttpServer.h"
#include "MainWindow.h"
#include "ModelContainer.h"
#include "ModelContext.h"
#include "Pasteboard.h"
#include "QtPrinters.h"
#include "RecordingWorkspace.h"
#include "TemporaryDataFolder.h"
#include "UserFolders.h"
#include "ViewEnvironment.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>

// A view environment over a fresh store in fresh user folders, with a recording
// workspace, for views tested on their own.
struct TestViewEnvironment {
    TestViewEnvironment() { Workspace::setShared(workspace); }
    ~TestViewEnvironment() { Workspace::setShared(nullptr); }

    UserFolders folders;
    TemporaryDataFolder store;
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    ModelContainer container{LibrarySchema::schema(), LibrarySchema::configuration(store.path())};
    AppState appState;
    DataManager dataManager{container.mainContext()};
    ErrorHandler errorHandler;
    Pasteboard pasteboard;
    ViewEnvironment env{container.mainContext(), appState, dataManager, errorHandler, *workspace, pasteboard};
};

// The whole application over a fresh store in fresh user folders, with a
// recording workspace; windows are opened by the tests.
class BrivetAppTest : public ::testing::Test {
protected:
    BrivetAppTest() { Workspace::setShared(workspace); }
    ~BrivetAppTest() override
    {
        app.reset();
        Workspace::setShared(nullptr);
    }

    // A new window, shown and exposed.
    MainWindow *openWindow()
    {
        MainWindow *window = app->newWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        return window;
    }

    UserFolders folders;
    TemporaryDataFolder store;
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    std::unique_ptr<BrivetApp> app = std::make_unique<BrivetApp>(LibrarySchema::configuration(store.path()));
};
