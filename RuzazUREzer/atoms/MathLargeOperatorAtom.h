#pragma once

#include "MathAtom.h"

class Math::LargeOperatorAtom : public Math::Atom {
public:
    enum class Limits { automatic, limits, noLimits };
    LargeOperatorAtom(QString nucleus, bool named, bool limitsInDisplay)
        : Atom(Type::largeOperator, std::move(nucleus)), named(named), limitsInDisplay(limitsInDisplay) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<LargeOperatorAtom>(*this); }
    // \sin, \lim: an upright word set as text, not a glyph grown for display style.
    bool named;
    // \sum and \lim take limits in display style; \int and \sin do not.
    bool limitsInDisplay;
    Limits limits = Limits::automatic;
};
