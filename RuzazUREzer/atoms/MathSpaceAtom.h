#pragma once

#include "MathAtom.h"

class Math::SpaceAtom : public Math::Atom {
public:
    // Width in mu (1/18 em); command is what to write back, such as "\\," or "\\hspace{1cm}".
    SpaceAtom(qreal mu, QString command) : Atom(Type::space), mu(mu), command(std::move(command)) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<SpaceAtom>(*this); }
    qreal mu;
    QString command;
};
