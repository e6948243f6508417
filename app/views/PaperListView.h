#pragma once

#include "Paper.h"

#include <QListView>

class PaperListModel;
struct ViewEnvironment;

// The paper list: one row per paper of its model, single selection, a context
// menu of the paper actions on each row, and rows that drag out as papers.
// Its selection and AppState::selectedPaper agree: choosing a row selects that
// paper for the window, and a paper selected or cleared elsewhere shows here.
class PaperListView : public QListView {
    Q_OBJECT
public:
    PaperListView(ViewEnvironment &environment, QWidget *parent);

    // Shows another model (not owned); nothing is written to AppState for it.
    void setPaperModel(PaperListModel *model);
    PaperListModel *paperModel() const { return m_model; }
    PaperPtr selectedPaper() const;

protected:
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    // The selected paper going away leaves nothing selected, not its neighbour.
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;

private:
    void showAppStateSelection();

    ViewEnvironment &m_environment;
    PaperListModel *m_model = nullptr;
    bool m_followingAppState = false;
};
