#pragma once

#include "MathAtom.h"

class Math::FractionAtom : public Math::Atom {
public:
    FractionAtom() : Atom(Type::fraction) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<FractionAtom>(*this); }
    AtomList numerator;
    AtomList denominator;
    bool hasRule = true;
    QString leftDelimiter;
    QString rightDelimiter;
    // \dfrac and \tfrac fix the style of the fraction itself.
    std::optional<Level> forcedLevel;
    // The command it came from (frac, over, binom, ...), so that it is written back the same way.
    QString command = QStringLiteral("frac");
};
