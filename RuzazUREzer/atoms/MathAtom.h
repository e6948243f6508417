#pragma once

#include "Math.h"
#include "MathAtomList.h"

#include <QString>

#include <memory>
#include <optional>

// One element of a parsed formula. The type decides the spacing around it (TeX's atom classes);
// subclasses add what their construction needs. Atoms are owned by their AtomList.
class Math::Atom {
public:
    enum class Type : int;

private:
    Type m_type;

public:
    enum class Type : int {
        ordinary,
        largeOperator,
        binary,
        relation,
        open,
        close,
        punctuation,
        inner,
        fraction,
        radical,
        accent,
        line,
        table,
        style,
        space,
    };

    // How letters and digits of the nucleus are drawn; defaultStyle is TeX's math italic for
    // Latin and lower-case Greek letters and upright for the rest.
    enum class FontStyle {
        defaultStyle,
        roman,
        bold,
        italic,
        calligraphic,
        blackboard,
        sansSerif,
        typewriter,
        fraktur,
        text,
    };

    // The four TeX styles, from largest to smallest.
    enum class Level { display, text, script, scriptScript };

    explicit Atom(Type type, QString nucleus = {}) : m_type(type), nucleus(std::move(nucleus)) {}
    virtual ~Atom();

    Type type() const { return m_type; }
    // Bin becomes Ord where TeX would not accept a binary operator.
    void setType(Type type) { m_type = type; }
    virtual std::unique_ptr<Atom> clone() const;

    // Characters of the nucleus; empty when the nucleus is a group or the atom has none.
    QString nucleus;
    // A sub-formula as nucleus: {...}, \mathop{...}, \mathrel{...}.
    std::optional<AtomList> group;
    FontStyle fontStyle = FontStyle::defaultStyle;
    // \big = 1 ... \Bigg = 4 for a delimiter of fixed size; 0 otherwise.
    int delimiterSize = 0;
    // \phantom: takes the room of its nucleus without drawing it.
    bool phantom = false;
    std::optional<AtomList> superscript;
    std::optional<AtomList> subscript;

protected:
    Atom(const Atom &) = default;
};
