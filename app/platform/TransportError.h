#pragma once

#include "BrivetError.h"

// A request that produced no complete answer: the connection failed, the
// answer stopped arriving, or it was too large to hold. Clients pass it up
// unchanged; its description is what the user reads.
class TransportError : public BrivetError {
public:
    enum class Kind {
        connectionRefused,
        hostNotFound,
        secureConnectionFailed,
        timedOut,
        cancelled,
        connectionLost,
        bodyTooLarge,
        other,
    };

    TransportError(Kind kind, const QString &description) : BrivetError(description), m_kind(kind) {}

    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
