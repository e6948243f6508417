#include "MathFontRegistry.h"

#include "MathFontTable.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QResource>

#include <optional>

#ifdef BRIVET_MATH_FONT_EMBEDDED
// The resource lives in a static library; registering it explicitly keeps the linker from
// dropping it.
static void initMathFontResource()
{
    Q_INIT_RESOURCE(mathFonts);
}
#endif

namespace {

QMutex &overrideMutex()
{
    static QMutex mutex;
    return mutex;
}

std::optional<std::shared_ptr<const Math::FontTable>> &overridden()
{
    static std::optional<std::shared_ptr<const Math::FontTable>> font;
    return font;
}

std::shared_ptr<const Math::FontTable> loadEmbedded()
{
#ifdef BRIVET_MATH_FONT_EMBEDDED
    initMathFontResource();
#endif
    QResource resource(Math::FontRegistry::resourcePath());
    if (!resource.isValid())
        return nullptr;
    // Uncompressed resources are read in place, without a copy.
    if (resource.compressionAlgorithm() == QResource::NoCompression)
        return Math::FontTable::fromData(QByteArray::fromRawData(reinterpret_cast<const char *>(resource.data()),
                                                                 resource.size()));
    return Math::FontTable::fromData(resource.uncompressedData());
}

} // namespace

QString Math::FontRegistry::resourcePath()
{
    return QStringLiteral(":/mathFonts/latinmodern-math.otf");
}

std::shared_ptr<const Math::FontTable> Math::FontRegistry::shared()
{
    {
        QMutexLocker lock(&overrideMutex());
        if (overridden())
            return *overridden();
    }
    // A function-local static is initialised exactly once even when threads race for it. It is
    // never destroyed: its Qt fonts must not outlive Qt's own font machinery at exit.
    static const auto *font = new std::shared_ptr<const FontTable>(loadEmbedded());
    return *font;
}

std::shared_ptr<const Math::FontTable> Math::FontRegistry::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return FontTable::fromData(file.readAll());
}

void Math::FontRegistry::overrideShared(std::shared_ptr<const FontTable> font)
{
    QMutexLocker lock(&overrideMutex());
    overridden() = std::move(font);
}

void Math::FontRegistry::clearOverride()
{
    QMutexLocker lock(&overrideMutex());
    overridden().reset();
}
