#include "MathParserError.h"

#include <algorithm>

Math::ParserError::ParserError(Code code, const QString &what, const QString &text, qsizetype offset)
    : m_code(code), m_offset(std::clamp<qsizetype>(offset, 0, text.size())), m_description(what)
{
    // A short excerpt with a marker is easier to act on than a bare offset in a long formula.
    constexpr qsizetype context = 20;
    const qsizetype from = std::max<qsizetype>(0, m_offset - context);
    const qsizetype to = std::min<qsizetype>(text.size(), m_offset + context);
    QString excerpt = text.mid(from, m_offset - from) + QStringLiteral("\u2038") + text.mid(m_offset, to - m_offset);
    excerpt.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_message = QStringLiteral("%1 at offset %2: \"%3%4%5\"")
                    .arg(what)
                    .arg(m_offset)
                    .arg(from > 0 ? QStringLiteral("\u2026") : QString(), excerpt,
                         to < text.size() ? QStringLiteral("\u2026") : QString());
    m_utf8 = m_message.toUtf8();
}
