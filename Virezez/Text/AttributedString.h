#pragma once
// A parsed document: the text, inline attribute runs over it, and the block intents the runs
// belong to. Intents form a tree through their parent identities, so a run names only its
// innermost intent and a document nested 10,000 levels deep stays linear in size.
#include "InlineAttributes.h"

#include <QString>
#include <cstdint>
#include <vector>

class AttributedString {
public:
    enum class IntentKind : quint8 {
        paragraph,
        heading,
        orderedList,
        unorderedList,
        listItem,
        blockQuote,
        codeBlock,
        thematicBreak,
        table,
        tableHeaderRow,
        tableRow,
        tableCell,
    };
    enum class Alignment : quint8 { none, left, center, right };
    enum class Task : quint8 { none, unchecked, checked };

    struct Intent {
        IntentKind kind = IntentKind::paragraph;
        int identity = -1; // index in intents(); stable for the life of the document
        int parent = -1;   // identity of the enclosing intent, -1 at top level
        // Heading level, list-item ordinal, or table-cell column, depending on the kind.
        int level = 0;
        int start = 1;     // first number of an ordered list
        bool tight = true; // lists: items not separated by blank lines
        Task task = Task::none;
        QString language;  // code blocks: first word of the info string
        std::vector<Alignment> columns; // tables
    };

    struct Run {
        int start = 0;
        int length = 0;
        InlineAttributes attributes;
        int intent = -1; // innermost block intent
    };

    const QString &text() const { return m_text; }
    const std::vector<Run> &runs() const { return m_runs; }
    const std::vector<Intent> &intents() const { return m_intents; }
    bool isEmpty() const { return m_intents.empty() && m_text.isEmpty(); }

    // Adds an intent under `parent` and returns its identity. Parents must be added before
    // their children, so identities follow document order.
    int addIntent(Intent intent, int parent);
    // Appends text to the intent `intent`, merging with the previous run when nothing differs.
    void append(QStringView text, const InlineAttributes &attributes, int intent);
    Intent &intent(int identity) { return m_intents[size_t(identity)]; }
    const Intent &intent(int identity) const { return m_intents[size_t(identity)]; }
    QStringView runText(const Run &run) const { return QStringView(m_text).mid(run.start, run.length); }

private:
    QString m_text;
    std::vector<Run> m_runs;
    std::vector<Intent> m_intents;
};
