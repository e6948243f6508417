#include "MathDisplayProvider.h"

#include "MathDisplayTree.h"
#include "MathDrawing.h"
#include "MathFontRegistry.h"
#include "MathParser.h"
#include "MathTypesetter.h"

#include <QMutexLocker>

#include <cmath>

Math::DisplayProvider &Math::DisplayProvider::shared()
{
    // Never destroyed, like the font whose glyphs its trees refer to.
    static auto *provider = new DisplayProvider;
    return *provider;
}

Math::DisplayProvider::DisplayProvider(int capacity) : m_cache(capacity) {}

Math::DisplayProvider::Display Math::DisplayProvider::display(const QString &latex, qreal pixelSize, Style style)
{
    if (!std::isfinite(pixelSize) || pixelSize <= 0)
        return {nullptr, nullptr, QStringLiteral("The font size %1 is not a size").arg(pixelSize)};
    pixelSize = std::min(pixelSize, maxFontSize);
    const auto font = FontRegistry::shared();
    if (!font)
        return {nullptr, nullptr, QStringLiteral("The math font is not available")};
    // The font is part of the key: a tree holds glyph numbers of one font.
    const QString key = QStringLiteral("%1|%2|%3|").arg(quintptr(font.get())).arg(pixelSize).arg(int(style)) + latex;
    {
        QMutexLocker lock(&m_mutex);
        if (const Display *cached = m_cache.object(key))
            return *cached;
    }
    Display result;
    try {
        const Typesetter typesetter(font, pixelSize);
        auto tree = typesetter.typeset(Parser::parse(latex), style == Style::display ? Atom::Level::display : Atom::Level::text);
        result.drawing = std::make_shared<const Drawing>(font, *tree);
        result.tree = std::move(tree);
    } catch (const ParserError &e) {
        result.error = e.message();
    }
    QMutexLocker lock(&m_mutex);
    m_cache.insert(key, new Display(result));
    return result;
}

void Math::DisplayProvider::clear()
{
    QMutexLocker lock(&m_mutex);
    m_cache.clear();
}
