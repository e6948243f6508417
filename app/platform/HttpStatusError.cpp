#include "HttpStatusError.h"

HttpStatusError::HttpStatusError(int status)
    : BrivetError(QStringLiteral("The server answered with status %1").arg(status)), m_status(status)
{
}
