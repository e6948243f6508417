#include "ImportablePaper.h"

#include "AppFolders.h"
#include "DataManager.h"
#include "FileDownload.h"
#include "ImportError.h"
#include "PaperList.h"
#include "PickedFile.h"

#include <QDir>
#include <QFile>
#include <QPointer>

ImportablePaper::ImportablePaper(QObject *parent) : QObject(parent) {}

#define BRIVET_SETTER(Name, member, Type)             \
    void ImportablePaper::set##Name(const Type &value) \
    {                                                  \
        member = value;                                \
        emit changed();                                \
    }
BRIVET_SETTER(Id, m_id, QString)
BRIVET_SETTER(Title, m_title, QString)
BRIVET_SETTER(Summary, m_summary, QString)
BRIVET_SETTER(Published, m_published, QDateTime)
BRIVET_SETTER(Doi, m_doi, QString)
BRIVET_SETTER(Url, m_url, std::optional<QUrl>)
BRIVET_SETTER(PdfURL, m_pdfURL, std::optional<QUrl>)
BRIVET_SETTER(FileURL, m_fileURL, std::optional<QUrl>)
BRIVET_SETTER(AuthorsIdx, m_authorsIdx, int)
#undef BRIVET_SETTER

QCoro::Task<PaperPtr> ImportablePaper::importPaper(PaperList *list)
{
    using Kind = ImportError::Kind;
    // Only emptiness counts: a text of spaces is the user's choice.
    if (m_id.isEmpty())
        throw ImportError(Kind::idMissing);
    if (m_title.isEmpty())
        throw ImportError(Kind::titleMissing);
    if (m_summary.isEmpty())
        throw ImportError(Kind::summaryMissing);
    if (!m_url)
        throw ImportError(Kind::urlMissing);
    QStringList names;
    for (const QString &entry : authors) {
        const QString name = entry.trimmed();
        if (!name.isEmpty())
            names << name;
    }
    if (names.isEmpty())
        throw ImportError(Kind::authorMissing);
    if (!m_pdfURL && !m_fileURL)
        throw ImportError(Kind::pdfMissing);

    auto paper = std::make_shared<Paper>(m_id, m_title, m_summary, names, m_published, m_doi, *m_url,
                                         m_pdfURL, std::nullopt, QString());
    // From here on the paper is in a list, so its PDF belongs in the documents folder.
    paper->addToList(list);
    const QString destination = paper->localURL().toLocalFile();
    AppFolders::prepareFolderOf(destination);

    if (m_pdfURL) {
        const QPointer<ImportablePaper> self(this);
        try {
            co_await FileDownload::toFile(*m_pdfURL, destination);
        } catch (const std::exception &) {
            throw ImportError(Kind::invalidDownloadURL);
        }
        if (!self) // the form closed while the download ran
            co_return paper;
    }

    if (m_fileURL) {
        if (!PickedFile::canAccess(*m_fileURL))
            throw ImportError(Kind::pdfAccessDenied);
        const QUrl target = paper->localURL();
        if (DataManager::fileExists(target) && !QFile::remove(target.toLocalFile()))
            throw ImportError(Kind::pdfAccessDenied);
        if (!QFile::copy(m_fileURL->toLocalFile(), target.toLocalFile()))
            throw ImportError(Kind::pdfAccessDenied);
    }
    co_return paper;
}
