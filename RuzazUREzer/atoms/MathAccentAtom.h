#pragma once

#include "MathAtom.h"

class Math::AccentAtom : public Math::Atom {
public:
    AccentAtom(QString accent, QString command) : Atom(Type::accent, std::move(accent)), command(std::move(command)) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<AccentAtom>(*this); }
    AtomList accentee;
    // \widehat, \overbrace, \overrightarrow: the accent grows to the accentee's width.
    bool wide = false;
    bool below = false;
    QString command;
};
