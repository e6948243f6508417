#pragma once

#include "Math.h"

#include <QCache>
#include <QMutex>
#include <QString>

#include <memory>

// Parses and typesets formulas, remembering the last results: a note shows the same formulas
// again whenever it is laid out anew. Safe to use from any thread.
class Math::DisplayProvider {
public:
    struct Display {
        // Null when the formula is not drawn; error then says why.
        std::shared_ptr<const ListNode> tree;
        // The tree ready to draw, null with it.
        std::shared_ptr<const Drawing> drawing;
        QString error;
    };

    static DisplayProvider &shared();
    explicit DisplayProvider(int capacity = 200);

    // pixelSize is clamped to maxFontSize; a size that is not positive sets nothing.
    Display display(const QString &latex, qreal pixelSize, Style style);
    void clear();

private:
    QMutex m_mutex;
    QCache<QString, Display> m_cache;
};
