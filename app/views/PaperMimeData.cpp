#include "PaperMimeData.h"

#include "BrivetError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>

namespace PaperMimeData {

QStringList formats()
{
    return {QString::fromLatin1(TransferablePaper::mimeType)};
}

QMimeData *make(const QList<Paper *> &papers)
{
    if (papers.isEmpty())
        return nullptr;
    QByteArray bytes;
    if (papers.size() == 1) {
        bytes = TransferablePaper(*papers.first()).toJson();
    } else {
        QJsonArray array;
        for (Paper *paper : papers)
            array.append(QJsonDocument::fromJson(TransferablePaper(*paper).toJson()).object());
        bytes = QJsonDocument(array).toJson(QJsonDocument::Compact);
    }
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(TransferablePaper::mimeType), bytes);
    return data;
}

std::optional<QList<TransferablePaper>> read(const QMimeData *data)
{
    const QString format = QString::fromLatin1(TransferablePaper::mimeType);
    if (!data || !data->hasFormat(format))
        return std::nullopt;
    const QByteArray bytes = data->data(format);
    QList<TransferablePaper> papers;
    try {
        const QJsonDocument document = QJsonDocument::fromJson(bytes);
        if (document.isArray()) {
            for (const QJsonValue &item : document.array()) {
                if (!item.isObject())
                    return std::nullopt;
                papers.append(TransferablePaper::fromJson(QJsonDocument(item.toObject()).toJson(QJsonDocument::Compact)));
            }
        } else {
            papers.append(TransferablePaper::fromJson(bytes));
        }
    } catch (const BrivetError &) {
        return std::nullopt;
    }
    return papers;
}

} // namespace PaperMimeData
