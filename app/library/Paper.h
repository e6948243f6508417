#pragma once

#include "FetchDescriptor.h"
#include "PersistentModel.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class PaperList;

// One scientific paper as a search service or the user gave it, with the
// user's Markdown note. A paper made by a search stays a plain object owned by
// whoever holds it until it is inserted into a model context.
class Paper : public PersistentModel {
    Q_OBJECT
public:
    // In declaration order, which is also the order of the stored schema.
    enum class Property { id, title, summary, authors, published, doi, url, pdfURL, comment, notes, inLists };
    Q_ENUM(Property)

    // Every default: a random UUID text as id, "Unknown title", "Unknown summary",
    // one author "Unknown author", published now, no DOI, defaultURL(), no PDF URL,
    // no comment, an empty note and no lists.
    Paper();
    Paper(QString id, QString title, QString summary, QStringList authors, QDateTime published,
          std::optional<QString> doi, QUrl url, std::optional<QUrl> pdfURL, std::optional<QString> comment,
          QString notes);
    // An object for a stored row; the store fills it in when it is first read.
    explicit Paper(Fault);

    static QUrl defaultURL();
    static const EntityDescription &entityDescription();
    // The papers whose id is exactly `id`.
    static FetchDescriptor withId(const QString &id);

    QString id() const;
    void setId(const QString &id);
    QString title() const;
    void setTitle(const QString &title);
    QString summary() const;
    void setSummary(const QString &summary);
    QStringList authors() const;
    void setAuthors(const QStringList &authors);
    QDateTime published() const;   // UTC
    void setPublished(const QDateTime &published);
    std::optional<QString> doi() const;
    void setDoi(const std::optional<QString> &doi);
    QUrl url() const;
    void setUrl(const QUrl &url);
    std::optional<QUrl> pdfURL() const;
    void setPdfURL(const std::optional<QUrl> &pdfURL);
    std::optional<QString> comment() const;
    void setComment(const std::optional<QString> &comment);
    QString notes() const;
    void setNotes(const QString &notes);

    // The lists that hold the paper, in the order it was added to them.
    std::optional<QList<PaperList *>> inLists() const;
    // Maintains the lists' side of the relation as well.
    void setInLists(const std::optional<QList<PaperList *>> &lists);
    // Adds the list unless one with the same UUID is already there.
    void addToList(PaperList *list);

    // The file of the paper's PDF: in the documents folder while the paper is in a
    // list, in the temporary folder otherwise. Looks at no file.
    QUrl localURL() const;
    // Whether a PDF can be shown: a file at localURL(), or else a pdfURL to fetch it from.
    bool hasPDF() const;
    // Deletes the PDF at location, or at localURL() when none is given (then a missing
    // file is no error). Throws PaperError.
    void removePDF(const std::optional<QUrl> &location = std::nullopt);
    // Opens the PDF with the user's PDF viewer, downloading it first when it is not on
    // disk; a download is put where localURL() points when it ends. Throws PaperError;
    // does nothing when there is no PDF to show.
    QCoro::Task<void> openPDF();
    // Opens the paper's web page in the user's browser when it is an http or https
    // address; anything else is only logged. Reports nothing.
    QCoro::Task<void> openInBrowser();

signals:
    // Once per write of a property, even when the value is equal.
    void changed(Paper::Property property);

protected:
    void propertyDidChange(int property) override;
};

using PaperPtr = std::shared_ptr<Paper>;
