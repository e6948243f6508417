#pragma once

#include "Paper.h"

#include <QCoro/QCoroTask>
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <optional>

class PaperList;

// What the user types and picks in the importer form, checked and turned into a new
// paper for one list, with its PDF downloaded or copied into place.
class ImportablePaper : public QObject {
    Q_OBJECT
public:
    explicit ImportablePaper(QObject *parent = nullptr);

    QString id() const { return m_id; }
    void setId(const QString &value);
    QString title() const { return m_title; }
    void setTitle(const QString &value);
    QString summary() const { return m_summary; }
    void setSummary(const QString &value);
    QDateTime published() const { return m_published; }
    void setPublished(const QDateTime &value);
    QString doi() const { return m_doi; }
    void setDoi(const QString &value);
    std::optional<QUrl> url() const { return m_url; }
    void setUrl(const std::optional<QUrl> &value);
    std::optional<QUrl> pdfURL() const { return m_pdfURL; }
    void setPdfURL(const std::optional<QUrl> &value);
    std::optional<QUrl> fileURL() const { return m_fileURL; }
    void setFileURL(const std::optional<QUrl> &value);
    int authorsIdx() const { return m_authorsIdx; }
    void setAuthorsIdx(const int &value);

    // One entry per author field of the form. Not announced: the form owns its fields.
    QStringList authors{QString()};

    // Checks the form (first failure wins, in the form's order), makes the paper, links
    // its side to the list, then obtains the PDF: downloaded from pdfURL, then replaced by
    // the picked file when there is one (the one picked when the download ends, or, if the
    // form has gone by then, the one picked before). A PDF already stored under the id is
    // replaced in one step, kept when that fails, and kept as it is when the picked file is
    // that very PDF. The paper is not inserted; the caller hands it to DataManager::add.
    // Throws only ImportError.
    QCoro::Task<PaperPtr> importPaper(PaperList *list);

signals:
    // Any announced field changed.
    void changed();

private:
    QString m_id;
    QString m_title;
    QString m_summary;
    QDateTime m_published = QDateTime::currentDateTimeUtc();
    QString m_doi;
    std::optional<QUrl> m_url;
    std::optional<QUrl> m_pdfURL;
    std::optional<QUrl> m_fileURL;
    int m_authorsIdx = 1;
};
