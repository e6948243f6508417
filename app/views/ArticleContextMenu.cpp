#include "ArticleContextMenu.h"

#include "DestructiveStyle.h"
#include "PaperActions.h"

ArticleContextMenu::ArticleContextMenu(ViewEnvironment &environment, PaperPtr paper, PaperListPtr list,
                                       QWidget *parent)
    : QMenu(parent)
{
    setToolTipsVisible(true);
    addAction(new TakeNotesAction(environment, paper, this));
    addMenu(new AddToMenu(environment, paper, this));
    if (list) {
        addAction(new RemovePaperAction(environment, paper, list, this));
        addSeparator();
    }
    addAction(new OpenFileAction(environment, paper, this));
    addAction(new OpenBrowserAction(environment, paper, this));
    addAction(new DeleteFileAction(environment, paper, this));
    PaperActions::refreshWhenShown(this);
    DestructiveStyle::applyTo(this);
}
