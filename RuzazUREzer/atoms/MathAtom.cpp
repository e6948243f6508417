#include "MathAtom.h"
#include "MathAtomKinds.h"

#include <algorithm>

Math::Atom::~Atom() = default;

std::unique_ptr<Math::Atom> Math::Atom::clone() const
{
    return std::unique_ptr<Atom>(new Atom(*this));
}

std::size_t Math::TableAtom::columnCount() const
{
    std::size_t n = 0;
    for (const auto &row : rows)
        n = std::max(n, row.size());
    return n;
}
