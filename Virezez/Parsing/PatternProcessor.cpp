#include "PatternProcessor.h"

PatternProcessor::PatternProcessor(std::vector<SyntaxExtension> extensions)
    : m_extensions(std::move(extensions))
{
}

AttributedString PatternProcessor::process(AttributedString document) const
{
    for (const SyntaxExtension &extension : m_extensions) {
        if (extension.pattern.isValid())
            document = applyOne(document, extension);
    }
    return document;
}

AttributedString PatternProcessor::applyOne(const AttributedString &document,
                                            const SyntaxExtension &extension) const
{
    // A regular expression of its own for this call: the extension's one may be in use by a
    // parse on another thread, and a compiled pattern is cheap next to a document.
    const QRegularExpression pattern(extension.pattern.pattern(), extension.pattern.patternOptions());
    AttributedString out;
    for (const AttributedString::Intent &intent : document.intents())
        out.addIntent(intent, intent.parent);

    for (const AttributedString::Run &run : document.runs()) {
        const QStringView text = document.runText(run);
        // Code is literal by definition, and a run already claimed by an extension is not
        // rewritten by a later one.
        if (run.attributes.has(InlineAttributes::code) || !run.attributes.extension.isEmpty()) {
            out.append(text, run.attributes, run.intent);
            continue;
        }
        qsizetype pos = 0;
        auto matches = pattern.globalMatch(text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            if (match.capturedLength(0) == 0)
                continue;
            out.append(text.mid(pos, match.capturedStart(0) - pos), run.attributes, run.intent);
            const SyntaxExtension::Replacement replacement = extension.replace(match);
            InlineAttributes marked = run.attributes;
            marked.extension = extension.name;
            marked.extensionValue = replacement.value;
            out.append(replacement.text, marked, run.intent);
            pos = match.capturedEnd(0);
        }
        out.append(text.mid(pos), run.attributes, run.intent);
    }
    return out;
}
