#pragma once

#include "MathAtom.h"

#include <QStringList>

#include <vector>

// The atom kinds that need more than a nucleus. Each copies itself through clone().

// Letters, digits and symbols of class Ord; exists so that every class has a named kind.
class Math::OrdinaryAtom : public Math::Atom {
public:
    explicit OrdinaryAtom(QString nucleus = {}) : Atom(Type::ordinary, std::move(nucleus)) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<OrdinaryAtom>(*this); }
};

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

class Math::RadicalAtom : public Math::Atom {
public:
    RadicalAtom() : Atom(Type::radical) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<RadicalAtom>(*this); }
    AtomList radicand;
    std::optional<AtomList> degree;
};

// \left ... \middle ... \right: parts separated by delimiters that grow with them.
class Math::InnerAtom : public Math::Atom {
public:
    InnerAtom() : Atom(Type::inner) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<InnerAtom>(*this); }
    std::vector<AtomList> parts;
    // parts.size() + 1 delimiters; an empty string is the null delimiter ".".
    QStringList delimiters;
};

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

// \overline and \underline.
class Math::LineAtom : public Math::Atom {
public:
    explicit LineAtom(bool over) : Atom(Type::line), over(over) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<LineAtom>(*this); }
    AtomList inner;
    bool over;
};

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

class Math::StyleAtom : public Math::Atom {
public:
    explicit StyleAtom(Level level) : Atom(Type::style), level(level) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<StyleAtom>(*this); }
    Level level;
};

class Math::SpaceAtom : public Math::Atom {
public:
    // Width in mu (1/18 em); command is what to write back, such as "\\," or "\\hspace{1cm}".
    SpaceAtom(qreal mu, QString command) : Atom(Type::space), mu(mu), command(std::move(command)) {}
    std::unique_ptr<Atom> clone() const override { return std::make_unique<SpaceAtom>(*this); }
    qreal mu;
    QString command;
};
