#pragma once

// The paper action buttons, each one self-contained object made with what it
// acts on and the window's environment: place the same object in a tool bar, a
// context menu or an action bar and it behaves alike.
//
//   new TakeNotesAction(env, paper, parent)          "Take Notes"
//   new AddToMenu(env, paper, parentWidget)          "Add To" (use menuAction() to place it)
//   new RemovePaperAction(env, paper, list, parent)  "Remove from <list>"   (destructive)
//   new OpenFileAction(env, paper, parent)           "Open PDF"
//   new OpenBrowserAction(env, paper, parent)        "Open in Browser"
//   new DeleteFileAction(env, paper, parent)         "Delete PDF"           (destructive)
//   new ImportPaperAction(env, parent)               "Import paper"
#include "AddToMenu.h"
#include "DeleteFileAction.h"
#include "ImportPaperAction.h"
#include "OpenBrowserAction.h"
#include "OpenFileAction.h"
#include "PaperAction.h"
#include "RemovePaperAction.h"
#include "TakeNotesAction.h"

class QMenu;

namespace PaperActions {

// Works out the enabled state of every paper action in the menu each time it is about to show.
void refreshWhenShown(QMenu *menu);

} // namespace PaperActions
