#include "MathAtom.h"

Math::Atom::~Atom() = default;

std::unique_ptr<Math::Atom> Math::Atom::clone() const
{
    return std::unique_ptr<Atom>(new Atom(*this));
}
