#pragma once

#include "Paper.h"
#include "TransferablePaper.h"

#include <QList>
#include <QStringList>

#include <optional>

class QMimeData;

// Papers on the clipboard of a drag: under TransferablePaper::mimeType, one
// paper is its JSON object; several, should a drag ever carry more than one,
// are an array of such objects in order.
namespace PaperMimeData {

QStringList formats();
// Null for no papers.
QMimeData *make(const QList<Paper *> &papers);
// The papers a drop carries, in order; none when it carries no paper data or
// when any of it is not a paper (a drop is taken whole or not at all).
std::optional<QList<TransferablePaper>> read(const QMimeData *data);

} // namespace PaperMimeData
