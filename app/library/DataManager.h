#pragma once

#include "Paper.h"
#include "PaperList.h"
#include "TransferablePaper.h"

#include <QObject>
#include <QUrl>
#include <optional>

class ModelContext;

// The library operations that must keep papers, lists and PDF files consistent: one
// stored paper per identifier, and a paper that no list holds any more is deleted with
// its PDF. Everything runs on the GUI thread, like the model context it works through.
class DataManager : public QObject {
    Q_OBJECT
public:
    // Creates the cloud "Documents" folder when the user has a cloud folder and it is
    // missing; a failure is printed and the manager stays usable.
    explicit DataManager(ModelContext &context, QObject *parent = nullptr);

    ModelContext &context() const { return *m_context; }
    // Notifies only when the context really changes.
    void setContext(ModelContext &context);

    // The cloud container's "Documents" folder, or none without a cloud identity or
    // container. Computed anew on every call: the user may switch the folder.
    static std::optional<QUrl> documentsURL();

    // Whether a PDF is present at url. With a cloud identity only direct, visible
    // entries of the documents folder count, because elsewhere a file may be a stale
    // copy and a hidden entry a placeholder that the sync client has not filled yet.
    // An empty file is no PDF (a failed write of an older version could leave one):
    // it counts as absent, so that it is downloaded again.
    static bool fileExists(const QUrl &url);

    // Links the stored paper with this id to the list (and saves), or, when none is
    // stored, links and inserts the given one. Never throws.
    void add(const PaperPtr &paper, PaperList *list);
    // A drop: each value in order, as a new paper.
    void add(const QList<TransferablePaper> &transferables, PaperList *list);
    // Unlinks the paper from the list; once it is in no list, deletes its PDF and then
    // the paper. Throws the PaperError of the deletion, leaving the paper stored in no list.
    void remove(Paper *paper, PaperList *list);

signals:
    void contextChanged();

private:
    ModelContext *m_context;
};
