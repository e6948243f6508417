#include "PaperActions.h"

#include <QMenu>

namespace PaperActions {

void refreshWhenShown(QMenu *menu)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] {
        for (QAction *action : menu->actions()) {
            if (auto *paperAction = qobject_cast<PaperAction *>(action))
                paperAction->refresh();
        }
    });
}

} // namespace PaperActions
