#pragma once

#include "PersistentModel.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <memory>
#include <optional>

class Paper;

// A named list of papers kept by the user.
class PaperList : public PersistentModel {
    Q_OBJECT
public:
    enum class Property { id, name, icon, papers };
    Q_ENUM(Property)

    // A new UUID, "Unknown", "folder", no papers.
    PaperList();
    // A new UUID, the given name and papers, the icon "folder".
    PaperList(const QString &name, const QList<Paper *> &papers);
    // An object for a stored row; the store fills it in when it is first read.
    explicit PaperList(Fault);

    static const EntityDescription &entityDescription();

    QUuid id() const;
    void setId(const QUuid &id);
    QString name() const;
    void setName(const QString &name);
    QString icon() const;
    void setIcon(const QString &icon);

    // The papers of the list in the order they were added.
    std::optional<QList<Paper *>> papers() const;
    // Maintains the papers' side of the relation as well.
    void setPapers(const std::optional<QList<Paper *>> &papers);
    // Appends the paper unless one with the same id text is already there.
    void addPaper(Paper *paper);
    // Takes the paper out, and the list out of the paper's lists.
    void removePaper(Paper *paper);
    // The papers of the list whose id is exactly `id`, in list order. A stored list
    // asks the store's id index instead of reading its papers, so a long list costs
    // no more than a short one.
    QList<Paper *> papersWithId(const QString &id) const;
    // How many papers the list holds, without reading the papers themselves.
    qsizetype paperCount() const;

signals:
    // Once per write of a property, even when the value is equal.
    void changed(PaperList::Property property);

protected:
    void propertyDidChange(int property) override;
};

using PaperListPtr = std::shared_ptr<PaperList>;
