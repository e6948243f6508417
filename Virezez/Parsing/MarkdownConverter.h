#pragma once
// Walks a cmark-gfm node tree (without recursion, so any nesting depth is safe) and builds the
// attributed document from it.
#include "AttributedString.h"

#include <QUrl>

struct cmark_node;

class MarkdownConverter {
public:
    explicit MarkdownConverter(QUrl baseURL) : m_baseURL(std::move(baseURL)) {}
    AttributedString convert(cmark_node *document) const;

private:
    QUrl m_baseURL;
};
