#pragma once

#include "MathAtom.h"

// \overline and \underline.
class Math::LineAtom : public Math::Atom {
public:
    explicit LineAtom(bool over) : Atom(Type::line), over(over) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<LineAtom>(*this); }
    AtomList inner;
    bool over;
};
