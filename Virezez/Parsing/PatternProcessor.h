#pragma once
// Applies syntax extensions, in their given order, to the non-code runs of a parsed document.
// An earlier extension claims its matches first; later ones only see the text left over.
#include "AttributedString.h"
#include "SyntaxExtension.h"

#include <vector>

class PatternProcessor {
public:
    PatternProcessor() = default;
    explicit PatternProcessor(std::vector<SyntaxExtension> extensions);

    const std::vector<SyntaxExtension> &extensions() const { return m_extensions; }
    bool isEmpty() const { return m_extensions.empty(); }
    AttributedString process(AttributedString document) const;

private:
    AttributedString applyOne(const AttributedString &document, const SyntaxExtension &extension) const;

    std::vector<SyntaxExtension> m_extensions;
};
