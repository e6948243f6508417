#include "SafeFileName.h"

QString SafeFileName::fromText(const QString &text)
{
    // An empty text would leave only the extension, a hidden file. A lone '%' cannot come
    // from any other text, since every '%' written below starts a three-character escape.
    if (text.isEmpty())
        return QStringLiteral("%");
    QString name;
    name.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'/')
            name += QStringLiteral("%2F");
        else if (c == u'%')
            name += QStringLiteral("%25");
        else if (c == QChar(0))
            name += QStringLiteral("%00");
        else if (c == u'.' && i == 0)
            name += QStringLiteral("%2E");
        else
            name += c;
    }
    return name;
}
