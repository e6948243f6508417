#include "MathTableAtom.h"

#include <algorithm>

std::size_t Math::TableAtom::columnCount() const
{
    std::size_t n = 0;
    for (const auto &row : rows)
        n = std::max(n, row.size());
    return n;
}
