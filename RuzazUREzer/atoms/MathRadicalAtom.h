#pragma once

#include "MathAtom.h"

class Math::RadicalAtom : public Math::Atom {
public:
    RadicalAtom() : Atom(Type::radical) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<RadicalAtom>(*this); }
    AtomList radicand;
    std::optional<AtomList> degree;
};
