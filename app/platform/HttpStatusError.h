#pragma once

#include "BrivetError.h"

// The server answered, but not with the one status a download accepts (or the answer
// was not HTTP at all, status 0). Callers map it to their own error.
class HttpStatusError : public BrivetError {
public:
    explicit HttpStatusError(int status);
    int status() const noexcept { return m_status; }

private:
    int m_status;
};
