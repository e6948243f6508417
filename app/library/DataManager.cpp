#include "DataManager.h"

#include "CloudFolder.h"
#include "ModelContext.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void printLine(const QString &line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

DataManager::DataManager(ModelContext &context, QObject *parent) : QObject(parent), m_context(&context)
{
    const std::optional<QUrl> documents = documentsURL();
    if (!documents)
        return;
    const QString path = documents->toLocalFile();
    if (QFileInfo::exists(path))
        return;
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    if (error)
        printLine(QStringLiteral("Failed to init iCloud Drive: ") + QString::fromStdString(error.message()));
}

void DataManager::setContext(ModelContext &context)
{
    if (m_context == &context)
        return;
    m_context = &context;
    emit contextChanged();
}

std::optional<QUrl> DataManager::documentsURL()
{
    if (!CloudFolder::hasIdentity())
        return std::nullopt;
    const std::optional<QString> container = CloudFolder::container();
    if (!container)
        return std::nullopt;
    return QUrl::fromLocalFile(QDir(*container).filePath(QStringLiteral("Documents")));
}

bool DataManager::fileExists(const QUrl &url)
{
    const std::optional<QUrl> documents = CloudFolder::hasIdentity() ? documentsURL() : std::nullopt;
    if (!documents) {
        const QFileInfo file(url.toLocalFile());
        return file.exists() && (file.isDir() || file.size() > 0);
    }

    // The views ask on every redraw, so the folder is opened, never listed: one
    // look-up of one name costs the same for ten PDFs as for ten thousand. Only
    // a URL that names a visible entry of the folder itself can be present.
    const QString folder = documents->toLocalFile();
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        printLine(QStringLiteral("Failed to get contents of iCloud drive"));
        return false;
    }
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    bool present = false;
    if (!name.isEmpty() && !name.startsWith(QLatin1Char('.'))
        && QUrl::fromLocalFile(QDir(folder).filePath(name)) == url) {
        struct stat entry;
        present = ::fstatat(descriptor, QFile::encodeName(name).constData(), &entry, AT_SYMLINK_NOFOLLOW) == 0
               && (!S_ISREG(entry.st_mode) || entry.st_size > 0);
    }
    ::close(descriptor);
    return present;
}

void DataManager::add(const PaperPtr &paper, PaperList *list)
{
    const QString id = paper->id();
    const FetchDescriptor descriptor = Paper::withId(id);
    qint64 count = 0;
    try {
        count = m_context->fetchCount(descriptor);
    } catch (const std::exception &) {
        count = 0;
    }

    PaperPtr stored;
    if (count > 0) {
        try {
            const QList<PaperPtr> matches = m_context->fetch<Paper>(descriptor);
            if (!matches.isEmpty())
                stored = matches.first();
        } catch (const std::exception &) {
        }
    }

    if (stored) {
        stored->addToList(list);
        try {
            m_context->save();
        } catch (const std::exception &) {
            // The link stays in the context, which tells the user and saves it by itself later.
        }
    } else {
        // Also the way out when the count saw a paper that the fetch then could not
        // find: inserting the given one loses nothing.
        paper->addToList(list);
        m_context->insert(paper);
    }
    list->addPaper(paper.get());
}

void DataManager::add(const QList<TransferablePaper> &transferables, PaperList *list)
{
    for (const TransferablePaper &value : transferables)
        add(value.toPaper(), list);
}

void DataManager::remove(Paper *paper, PaperList *list)
{
    // Before unlinking: the location depends on the lists the paper is in.
    const QUrl before = paper->localURL();
    const std::optional<QUrl> held = fileExists(before) ? std::optional<QUrl>(before) : std::nullopt;

    // By the id index: a long list is not read paper by paper.
    for (Paper *match : list->papersWithId(paper->id()))
        list->removePaper(match);
    if (std::optional<QList<PaperList *>> lists = paper->inLists()) {
        lists->removeIf([&](PaperList *l) { return l->id() == list->id(); });
        paper->setInLists(*lists);
    }

    const std::optional<QList<PaperList *>> remaining = paper->inLists();
    if (remaining && !remaining->isEmpty())
        return;
    paper->removePDF(held);
    m_context->deleteObject(paper);
}
