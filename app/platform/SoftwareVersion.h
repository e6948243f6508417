#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <compare>
#include <optional>

// A release number as update feeds and the build write it: dot-separated
// numbers ("1.2.10"), optionally after a "v", optionally followed by a
// pre-release label ("2.0.0-beta.2") and build metadata ("+git.abc", which
// takes no part in ordering).
//
// Numbers compare numerically, missing trailing numbers count as zero
// ("1.2" == "1.2.0"), and a pre-release comes before its release; labels
// compare part by part, numeric parts numerically and below word parts.
class SoftwareVersion {
public:
    // Nothing for text that is not such a number (empty, letters where
    // numbers belong, a number too long to be a real version).
    static std::optional<SoftwareVersion> parse(QStringView text);

    // As written, without the surrounding white space.
    const QString &text() const { return m_text; }

    std::strong_ordering operator<=>(const SoftwareVersion &other) const;
    bool operator==(const SoftwareVersion &other) const { return (*this <=> other) == 0; }

private:
    SoftwareVersion() = default;

    QString m_text;
    QList<quint32> m_numbers;
    QStringList m_preRelease;
};
