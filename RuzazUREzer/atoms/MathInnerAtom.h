#pragma once

#include "MathAtom.h"

#include <QStringList>

#include <vector>

// \left ... \middle ... \right: parts separated by delimiters that grow with them.
class Math::InnerAtom : public Math::Atom {
public:
    InnerAtom() : Atom(Type::inner) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<InnerAtom>(*this); }
    std::vector<AtomList> parts;
    // parts.size() + 1 delimiters; an empty string is the null delimiter ".".
    QStringList delimiters;
};
