#pragma once
// A text pattern that the parser marks in ordinary (non-code) text after Markdown parsing,
// such as dollar-sign math. Matches become runs carrying the extension's name and value.
#include <QRegularExpression>
#include <QString>
#include <functional>

struct SyntaxExtension {
    struct Replacement {
        QString text;  // what the note shows in place of the match
        QString value; // what the run keeps for whoever draws it (formula, short code)
    };

    QString name;
    QRegularExpression pattern;
    // Without a transform the match is shown unchanged and its first capture is the value.
    // Large notes are parsed on a worker thread, so a transform must be callable from any
    // thread and touch no GUI state.
    std::function<Replacement(const QRegularExpressionMatch &)> transform;

    Replacement replace(const QRegularExpressionMatch &match) const
    {
        if (transform)
            return transform(match);
        return {match.captured(0), match.captured(1)};
    }

    // Inline math between single dollar signs; the value is the LaTeX source.
    static SyntaxExtension inlineMath()
    {
        return {QStringLiteral("math"),
                QRegularExpression(QStringLiteral(R"(\$([^$\s](?:[^$]*[^$\s])?)\$)")),
                {}};
    }
};
