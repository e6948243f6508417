// The PDF and web-page operations of Paper: where its PDF lies, whether one can be
// shown, and downloading, opening and deleting it.
#include "Paper.h"

#include "AppFolders.h"
#include "DataManager.h"
#include "ExternalLink.h"
#include "FilePlacement.h"
#include "FileDownload.h"
#include "HttpStatusError.h"
#include "PaperError.h"
#include "SafeFileName.h"
#include "SearchError.h"
#include "Workspace.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

QUrl Paper::localURL() const
{
    const std::optional<QList<PaperList *>> lists = inLists();
    QString folder;
    if (lists && !lists->isEmpty()) {
        const std::optional<QUrl> documents = DataManager::documentsURL();
        folder = documents ? documents->toLocalFile() : AppFolders::documents();
    } else {
        folder = AppFolders::temporary();
    }
    // The identifier is free text; the file name keeps it inside the folder.
    return QUrl::fromLocalFile(QDir(folder).filePath(SafeFileName::fromText(id()) + QStringLiteral(".pdf")));
}

bool Paper::hasPDF() const
{
    return DataManager::fileExists(localURL()) || pdfURL().has_value();
}

void Paper::removePDF(const std::optional<QUrl> &location)
{
    QUrl target;
    if (location) {
        target = *location;
    } else {
        target = localURL();
        if (!DataManager::fileExists(target))
            return;
    }
    QFile file(target.toLocalFile());
    if (!file.remove())
        throw PaperError::deleteError(target.path(QUrl::FullyEncoded), file.errorString());
}

QCoro::Task<void> Paper::openPDF()
{
    // The caller may drop its last reference while the download runs.
    const auto self = shared_from_this();
    if (!hasPDF())
        co_return;
    if (DataManager::fileExists(localURL())) {
        Workspace::shared().open(localURL());
        co_return;
    }
    const std::optional<QUrl> source = pdfURL();
    if (!source) // the local file vanished between the two tests
        co_return;

    const QString paperId = id();
    // The paper may join or leave lists while the download runs, and with them its PDF
    // changes folder: the file is put in place only once the download is over.
    QString download;
    const auto dropDownload = qScopeGuard([&download] {
        if (!download.isEmpty())
            QFile::remove(download);
    });
    QString destination;
    try {
        download = AppFolders::newDownloadFile();
        co_await FileDownload::toFile(*source, download);
        destination = localURL().toLocalFile();
        AppFolders::prepareFolderOf(destination);
        FilePlacement::move(download, destination);
    } catch (const HttpStatusError &) {
        throw PaperError::downloadError(paperId, SearchError::invalidResponse().description());
    } catch (const BrivetError &error) {
        throw PaperError::downloadError(paperId, error.description());
    }
    Workspace::shared().open(QUrl::fromLocalFile(destination));
}

QCoro::Task<void> Paper::openInBrowser()
{
    ExternalLink::open(ExternalLink::Origin::webPage, url());
    co_return;
}
