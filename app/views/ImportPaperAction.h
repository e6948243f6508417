#pragma once

#include "PaperAction.h"

// "Import paper": opens the importer of the shown list; always enabled.
class ImportPaperAction : public PaperAction {
    Q_OBJECT
public:
    ImportPaperAction(ViewEnvironment &environment, QObject *parent);
};
