#pragma once

#include "MathAtom.h"

// Letters, digits and symbols of class Ord; exists so that every class has a named kind.
class Math::OrdinaryAtom : public Math::Atom {
public:
    explicit OrdinaryAtom(QString nucleus = {}) : Atom(Type::ordinary, std::move(nucleus)) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<OrdinaryAtom>(*this); }
};
