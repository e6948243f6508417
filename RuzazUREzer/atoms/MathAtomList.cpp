#include "MathAtomList.h"
#include "MathAtom.h"

Math::AtomList::AtomList(const AtomList &other)
{
    m_atoms.reserve(other.m_atoms.size());
    for (const auto &atom : other.m_atoms)
        m_atoms.push_back(atom->clone());
}

Math::AtomList &Math::AtomList::operator=(const AtomList &other)
{
    if (this != &other) {
        AtomList copy(other);
        m_atoms = std::move(copy.m_atoms);
    }
    return *this;
}

Math::AtomList::~AtomList() = default;

void Math::AtomList::append(std::unique_ptr<Atom> atom)
{
    m_atoms.push_back(std::move(atom));
}

std::unique_ptr<Math::Atom> Math::AtomList::takeLast()
{
    if (m_atoms.empty())
        return nullptr;
    auto atom = std::move(m_atoms.back());
    m_atoms.pop_back();
    return atom;
}

void Math::AtomList::appendList(AtomList &&other)
{
    for (auto &atom : other.m_atoms)
        m_atoms.push_back(std::move(atom));
    other.m_atoms.clear();
}
