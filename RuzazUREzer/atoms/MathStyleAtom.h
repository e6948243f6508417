#pragma once

#include "MathAtom.h"

class Math::StyleAtom : public Math::Atom {
public:
    explicit StyleAtom(Level level) : Atom(Type::style), level(level) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<StyleAtom>(*this); }
    Level level;
};
