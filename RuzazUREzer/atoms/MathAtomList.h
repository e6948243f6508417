#pragma once

#include "Math.h"

#include <memory>
#include <vector>

// An ordered list of atoms: a whole formula, a group, a script or a table cell.
class Math::AtomList {
public:
    AtomList() = default;
    AtomList(const AtomList &other);
    AtomList &operator=(const AtomList &other);
    AtomList(AtomList &&) noexcept = default;
    AtomList &operator=(AtomList &&) noexcept = default;
    ~AtomList();

    void append(std::unique_ptr<Atom> atom);
    bool isEmpty() const { return m_atoms.empty(); }
    std::size_t size() const { return m_atoms.size(); }
    Atom &at(std::size_t i) const { return *m_atoms[i]; }
    Atom *last() const { return m_atoms.empty() ? nullptr : m_atoms.back().get(); }
    std::unique_ptr<Atom> takeLast();
    // Moves every atom of other to the end of this list.
    void appendList(AtomList &&other);

    auto begin() const { return m_atoms.begin(); }
    auto end() const { return m_atoms.end(); }

private:
    std::vector<std::unique_ptr<Atom>> m_atoms;
};
