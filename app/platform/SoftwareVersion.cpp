#include "SoftwareVersion.h"

#include <algorithm>

namespace {

constexpr qsizetype maximumDigits = 9; // every number fits a quint32
constexpr qsizetype maximumNumbers = 8;

bool isDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isLabelPart(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'-';
    });
}

QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return digits;
}

std::strong_ordering compareLabelParts(const QString &a, const QString &b)
{
    const bool aNumeric = isDigits(a), bNumeric = isDigits(b);
    if (aNumeric != bNumeric)
        return aNumeric ? std::strong_ordering::less : std::strong_ordering::greater;
    if (aNumeric) {
        // Numbers of any length: the one with more significant digits is larger.
        const QStringView x = withoutLeadingZeros(a), y = withoutLeadingZeros(b);
        if (x.size() != y.size())
            return x.size() <=> y.size();
        return x.compare(y) <=> 0;
    }
    return a.compare(b) <=> 0;
}

} // namespace

std::optional<SoftwareVersion> SoftwareVersion::parse(QStringView text)
{
    SoftwareVersion version;
    version.m_text = text.trimmed().toString();
    QStringView rest = version.m_text;
    if (rest.startsWith(u'v') || rest.startsWith(u'V'))
        rest = rest.mid(1);
    if (const qsizetype plus = rest.indexOf(u'+'); plus >= 0) {
        const QStringView metadata = rest.mid(plus + 1);
        const auto parts = metadata.split(u'.');
        if (!std::all_of(parts.begin(), parts.end(), isLabelPart))
            return std::nullopt;
        rest = rest.left(plus);
    }
    if (const qsizetype dash = rest.indexOf(u'-'); dash >= 0) {
        for (QStringView part : rest.mid(dash + 1).split(u'.')) {
            if (!isLabelPart(part))
                return std::nullopt;
            version.m_preRelease.append(part.toString());
        }
        rest = rest.left(dash);
    }
    const auto numbers = rest.split(u'.');
    if (numbers.size() > maximumNumbers)
        return std::nullopt;
    for (QStringView number : numbers) {
        if (!isDigits(number) || number.size() > maximumDigits)
            return std::nullopt;
        version.m_numbers.append(number.toUInt());
    }
    return version;
}

std::strong_ordering SoftwareVersion::operator<=>(const SoftwareVersion &other) const
{
    const qsizetype count = std::max(m_numbers.size(), other.m_numbers.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (const auto order = m_numbers.value(i) <=> other.m_numbers.value(i); order != 0)
            return order;
    }
    // A release comes after all of its pre-releases.
    if (m_preRelease.isEmpty() != other.m_preRelease.isEmpty())
        return m_preRelease.isEmpty() ? std::strong_ordering::greater : std::strong_ordering::less;
    const qsizetype parts = std::min(m_preRelease.size(), other.m_preRelease.size());
    for (qsizetype i = 0; i < parts; ++i) {
        if (const auto order = compareLabelParts(m_preRelease[i], other.m_preRelease[i]); order != 0)
            return order;
    }
    return m_preRelease.size() <=> other.m_preRelease.size();
}
