#pragma once
// Markdown (CommonMark with the table, strikethrough, autolink and task-list extensions) into
// an AttributedString. Raw HTML is kept as literal text and never interpreted. Safe to call from
// several threads at once; the Markdown engine's own part of each parse runs one at a time.
#include "MarkupParser.h"
#include "PatternProcessor.h"
#include "SyntaxExtension.h"

#include <QUrl>

class AttributedStringMarkdownParser : public MarkupParser {
public:
    using SyntaxExtension = ::SyntaxExtension;

    struct Options {
        // Only the full block and inline syntax is offered: notes are whole documents.
        enum class Syntax { full };
        enum class FailurePolicy { throwError, returnPartiallyParsedIfPossible };
        Syntax syntax = Syntax::full;
        FailurePolicy failurePolicy = FailurePolicy::throwError;
        bool allowsExtendedAttributes = false;
        QString languageCode;
    };

    AttributedStringMarkdownParser(QUrl baseURL, Options options, PatternProcessor patterns);

    AttributedString attributedString(const QString &markup) const override;

    const QUrl &baseURL() const { return m_baseURL; }
    const Options &options() const { return m_options; }
    const PatternProcessor &patternProcessor() const { return m_patterns; }

    // Whether a link destination may be opened from a note: only web pages (http, https) and
    // mail addresses (mailto) are, whatever the base URL.
    static bool isClickable(const QUrl &url);

private:
    QUrl m_baseURL;
    Options m_options;
    PatternProcessor m_patterns;
};
