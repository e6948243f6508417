#pragma once

#include "MathAtom.h"

#include <vector>

class Math::TableAtom : public Math::Atom {
public:
    explicit TableAtom(QString environment) : Atom(Type::table), environment(std::move(environment)) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<TableAtom>(*this); }
    QString environment;
    // One letter per column, l, c or r; columns past the end repeat the environment's default.
    QString alignments;
    // Plain TeX forms (\matrix{... \cr ...}) are written back as such.
    bool plainTeX = false;
    std::vector<std::vector<AtomList>> rows;
    std::size_t columnCount() const;
};
