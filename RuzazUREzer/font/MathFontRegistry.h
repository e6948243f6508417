#pragma once

#include "Math.h"

#include <QString>

#include <memory>

// Loads the embedded math font once, on first use from any thread, and hands out the shared
// table. When the font is not embedded (or unreadable) shared() is null and formulas are simply
// not drawn.
class Math::FontRegistry {
public:
    static std::shared_ptr<const FontTable> shared();
    // Resource path of the embedded font.
    static QString resourcePath();
    // Loads a font file from disk; null when it is missing or has no MATH table.
    static std::shared_ptr<const FontTable> load(const QString &path);
    // Replaces what shared() returns (null simulates a build without the font); for tests.
    static void overrideShared(std::shared_ptr<const FontTable> font);
    static void clearOverride();
};
