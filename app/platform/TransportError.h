#pragma once

#include "BrivetError.h"

// A request that produced no complete answer: the connection failed, the
// answer stopped arriving, or it was too large to hold. Clients pass it up
// unchanged; its description is what the user reads.
class TransportError : public BrivetError {
public:
    enum class Kind {
        ConnectionRefused,
        HostNotFound,
        SecureConnectionFailed,
        TimedOut,
        Cancelled,
        ConnectionLost,
        BodyTooLarge,
        Other,
    };

    TransportError(Kind kind, const QString &description) : BrivetError(description), m_kind(kind) {}

    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
