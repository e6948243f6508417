#pragma once

#include "MathAtom.h"

#include <QString>

// Turns atoms back into LaTeX that parses to the same atoms. The text is normalised (one way
// to write each construction), not the text the atoms were parsed from.
class Math::Writer {
public:
    static QString write(const AtomList &list);

private:
    void writeList(const AtomList &list);
    void writeAtom(const Atom &atom);
    void writeNucleus(const Atom &atom);
    void writeScripts(const Atom &atom);
    void writeGroup(const AtomList &list);
    void writeCommand(const QString &command);
    void writeDelimiter(const QString &character);

    QString m_out;
    bool m_aloneInList = false;
};
