#pragma once

#include "AdsActor.h"
#include "AdsPaper.h"

#include <QByteArrayView>
#include <QList>

// The shape of an ADS answer, {"response": {"docs": [document, ...]}}; other
// keys are ignored.
struct AdsActor::AdsResponse {
    struct AdsDocs {
        QList<AdsPaper> docs;
    };
    AdsDocs response;

    // Throws SearchError::missingData when the bytes are not such an answer
    // or any one document does not decode.
    static AdsResponse decode(QByteArrayView json);
};
