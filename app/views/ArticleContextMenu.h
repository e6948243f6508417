#pragma once

#include "Paper.h"
#include "PaperList.h"

#include <QMenu>

struct ViewEnvironment;

// The context menu of a paper row: "Take Notes", "Add To" (while any list is
// stored), then for a list's row "Remove from <list>" and a separator, then
// "Open PDF", "Open in Browser" and "Delete PDF". Each entry is the paper
// action itself, with its enabled state worked out as the menu opens.
class ArticleContextMenu : public QMenu {
    Q_OBJECT
public:
    ArticleContextMenu(ViewEnvironment &environment, PaperPtr paper, PaperListPtr list, QWidget *parent);
};
