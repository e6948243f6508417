#pragma once

#include "SearchEngine.h"

#include <QList>
#include <QUuid>

// The two built-in engines, in sidebar order: ArXiv, then ADS. Made once, on
// first use, safely when several threads ask together; every caller gets the
// same two objects for the life of the process, so their results survive
// selection changes. Their searches ask the clients for 100 results.
const QList<SearchEngine *> &searchEngines();

// The engines' fixed identifiers, the same on every launch and machine.
QUuid arxivEngineId();
QUuid adsEngineId();

// Whether a selection names a built-in engine rather than a user list. Compares
// with the two identifiers directly; does not make the engines.
bool isSearchEngine(const QUuid &id);
