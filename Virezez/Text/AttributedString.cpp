#include "AttributedString.h"

int AttributedString::addIntent(Intent intent, int parent)
{
    intent.identity = int(m_intents.size());
    intent.parent = parent;
    m_intents.push_back(std::move(intent));
    return m_intents.back().identity;
}

void AttributedString::append(QStringView text, const InlineAttributes &attributes, int intent)
{
    if (text.isEmpty())
        return;
    const int start = int(m_text.size());
    m_text.append(text);
    if (!m_runs.empty()) {
        Run &last = m_runs.back();
        if (last.intent == intent && last.start + last.length == start && last.attributes == attributes) {
            last.length += int(text.size());
            return;
        }
    }
    m_runs.push_back(Run{start, int(text.size()), attributes, intent});
}
