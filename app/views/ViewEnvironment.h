#pragma once

class AppState;
class DataManager;
class ErrorHandler;
class ModelContext;
class Pasteboard;
class Workspace;

// What every view of a window is given at construction. One per window: the
// error handler is the window's own, everything else is shared by all windows
// and outlives them.
struct ViewEnvironment {
    ModelContext &modelContext;
    AppState &appState;
    DataManager &dataManager;
    ErrorHandler &errorHandler;
    Workspace &workspace;
    Pasteboard &pasteboard;
};
