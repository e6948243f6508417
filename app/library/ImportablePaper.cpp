#include "ImportablePaper.h"

#include "AppFolders.h"
#include "FileDownload.h"
#include "FilePlacement.h"
#include "HttpStatusError.h"
#include "ImportError.h"
#include "PaperList.h"
#include "PickedFile.h"
#include "TransportError.h"

#include <QFile>
#include <QPointer>
#include <QScopeGuard>

namespace {

// Puts a file where the paper keeps its PDF; a stored PDF there stays as it was when that fails.
void place(const QString &source, const QString &destination, void (*how)(const QString &, const QString &))
{
    try {
        AppFolders::prepareFolderOf(destination);
        how(source, destination);
    } catch (const BrivetError &error) {
        throw ImportError(ImportError::Kind::pdfNotSaved, error.description());
    }
}

} // namespace

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

    // The form may close while the download runs; what the copy needs is held here.
    std::optional<QUrl> picked = m_fileURL;
    if (const std::optional<QUrl> source = m_pdfURL) {
        const QPointer<ImportablePaper> self(this);
        QString download;
        const auto dropDownload = qScopeGuard([&download] {
            if (!download.isEmpty())
                QFile::remove(download);
        });
        try {
            download = AppFolders::newDownloadFile();
        } catch (const BrivetError &error) {
            throw ImportError(Kind::pdfNotSaved, error.description());
        }
        try {
            co_await FileDownload::toFile(*source, download);
        } catch (const HttpStatusError &) {
            throw ImportError(Kind::invalidDownloadURL);
        } catch (const TransportError &) {
            throw ImportError(Kind::invalidDownloadURL);
        } catch (const BrivetError &error) { // the server answered; the disk did not take it
            throw ImportError(Kind::pdfNotSaved, error.description());
        } catch (const std::exception &) {
            throw ImportError(Kind::invalidDownloadURL);
        }
        // A file picked while the download ran wins over it, and a pick cleared meanwhile
        // leaves the download; a form that has gone keeps the pick it had.
        if (self)
            picked = m_fileURL;
        // The picked file would replace the download at once: the stored PDF is replaced
        // only once, by the file that stays.
        if (!picked)
            place(download, paper->localURL().toLocalFile(), &FilePlacement::move);
    }

    if (picked) {
        if (!PickedFile::canAccess(*picked))
            throw ImportError(Kind::pdfAccessDenied);
        // The picked file may be the very PDF already stored under this identifier: then
        // it is kept as it is (FilePlacement::copy compares the files, not their paths).
        place(picked->toLocalFile(), paper->localURL().toLocalFile(), &FilePlacement::copy);
    }
    co_return paper;
}
