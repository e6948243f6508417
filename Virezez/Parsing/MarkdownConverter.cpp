#include "MarkdownConverter.h"

#include "AttributedStringMarkdownParser.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <cstring>
#include <unordered_map>

namespace {

using Kind = AttributedString::IntentKind;

QString utf8(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

// Extension node types are registered at run time, so they are told apart by name.
enum class ExtType { none, table, tableHeader, tableRow, tableCell, strikethrough, taskItem, other };

ExtType extType(cmark_node *node)
{
    const char *name = cmark_node_get_type_string(node);
    if (!name)
        return ExtType::other;
    if (!std::strcmp(name, "table"))
        return ExtType::table;
    if (!std::strcmp(name, "table_header"))
        return ExtType::tableHeader;
    if (!std::strcmp(name, "table_row"))
        return ExtType::tableRow;
    if (!std::strcmp(name, "table_cell"))
        return ExtType::tableCell;
    if (!std::strcmp(name, "strikethrough"))
        return ExtType::strikethrough;
    if (!std::strcmp(name, "tasklist"))
        return ExtType::taskItem;
    return ExtType::other;
}

class Builder {
public:
    explicit Builder(const QUrl &base) : m_base(base) {}

    void enter(cmark_node *node);
    void exit(cmark_node *node);
    AttributedString take() { return std::move(m_doc); }

private:
    int container() const { return m_containers.empty() ? -1 : m_containers.back(); }
    int openBlock(AttributedString::Intent intent)
    {
        const int id = m_doc.addIntent(std::move(intent), container());
        m_containers.push_back(id);
        return id;
    }
    int leafBlock(Kind kind)
    {
        AttributedString::Intent intent;
        intent.kind = kind;
        return m_doc.addIntent(std::move(intent), container());
    }
    // Inline content outside a paragraph, heading or cell gets a paragraph of its own, so every
    // run belongs to a leaf block.
    int textTarget()
    {
        const int c = container();
        if (c >= 0) {
            const Kind k = m_doc.intent(c).kind;
            if (k == Kind::paragraph || k == Kind::heading || k == Kind::tableCell)
                return c;
        }
        if (m_implicit < 0 || m_doc.intent(m_implicit).parent != c)
            m_implicit = leafBlock(Kind::paragraph);
        return m_implicit;
    }
    void text(const QString &s) { m_doc.append(s, m_attributes.back(), textTarget()); }
    void pushAttributes() { m_attributes.push_back(m_attributes.back()); }
    QUrl resolve(const char *destination) const
    {
        const QUrl url(utf8(destination));
        return (m_base.isValid() && url.isRelative()) ? m_base.resolved(url) : url;
    }
    void enterBlock(cmark_node *node, cmark_node_type type);

    QUrl m_base;
    AttributedString m_doc;
    std::vector<int> m_containers;
    std::vector<InlineAttributes> m_attributes{InlineAttributes{}};
    std::unordered_map<int, int> m_nextOrdinal; // list or table row -> next item or column
    int m_implicit = -1;
};

void Builder::enter(cmark_node *node)
{
    const cmark_node_type type = cmark_node_get_type(node);
    switch (type) {
    case CMARK_NODE_TEXT:
        text(utf8(cmark_node_get_literal(node)));
        return;
    case CMARK_NODE_SOFTBREAK:
        text(QStringLiteral(" "));
        return;
    case CMARK_NODE_LINEBREAK:
        text(QString(QChar::LineSeparator));
        return;
    case CMARK_NODE_CODE: {
        InlineAttributes code = m_attributes.back();
        code.traits |= InlineAttributes::code;
        m_doc.append(utf8(cmark_node_get_literal(node)), code, textTarget());
        return;
    }
    case CMARK_NODE_HTML_INLINE:
        // Shown, never interpreted.
        text(utf8(cmark_node_get_literal(node)).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        return;
    case CMARK_NODE_EMPH:
        pushAttributes();
        m_attributes.back().traits |= InlineAttributes::emphasis;
        return;
    case CMARK_NODE_STRONG:
        pushAttributes();
        m_attributes.back().traits |= InlineAttributes::strong;
        return;
    case CMARK_NODE_LINK: {
        pushAttributes();
        const QUrl url = resolve(cmark_node_get_url(node));
        m_attributes.back().link = url.toString();
        m_attributes.back().linkClickable =
            !url.isRelative() && AttributedStringMarkdownParser::isClickable(url);
        return;
    }
    case CMARK_NODE_IMAGE:
        pushAttributes();
        m_attributes.back().imageURL = resolve(cmark_node_get_url(node)).toString();
        return;
    case CMARK_NODE_FOOTNOTE_REFERENCE:
        text(utf8(cmark_node_get_literal(node)));
        return;
    default:
        break;
    }
    if ((type & CMARK_NODE_TYPE_MASK) == CMARK_NODE_TYPE_INLINE) {
        if (extType(node) == ExtType::strikethrough) {
            pushAttributes();
            m_attributes.back().traits |= InlineAttributes::strikethrough;
        } else {
            pushAttributes(); // unknown inline container: keep the stack balanced
        }
        return;
    }
    enterBlock(node, type);
}

void Builder::enterBlock(cmark_node *node, cmark_node_type type)
{
    AttributedString::Intent intent;
    switch (type) {
    case CMARK_NODE_DOCUMENT:
        return;
    case CMARK_NODE_BLOCK_QUOTE:
        intent.kind = Kind::blockQuote;
        openBlock(intent);
        return;
    case CMARK_NODE_LIST: {
        const bool ordered = cmark_node_get_list_type(node) == CMARK_ORDERED_LIST;
        intent.kind = ordered ? Kind::orderedList : Kind::unorderedList;
        intent.start = ordered ? cmark_node_get_list_start(node) : 1;
        intent.tight = cmark_node_get_list_tight(node) != 0;
        const int id = openBlock(intent);
        m_nextOrdinal[id] = intent.start;
        return;
    }
    case CMARK_NODE_PARAGRAPH:
        intent.kind = Kind::paragraph;
        openBlock(intent);
        return;
    case CMARK_NODE_HEADING:
        intent.kind = Kind::heading;
        intent.level = cmark_node_get_heading_level(node);
        openBlock(intent);
        return;
    case CMARK_NODE_THEMATIC_BREAK:
        leafBlock(Kind::thematicBreak);
        return;
    case CMARK_NODE_CODE_BLOCK: {
        intent.kind = Kind::codeBlock;
        const QString info = utf8(cmark_node_get_fence_info(node)).trimmed();
        intent.language = info.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        const int id = m_doc.addIntent(intent, container());
        QString code = utf8(cmark_node_get_literal(node));
        if (code.endsWith(QLatin1Char('\n')))
            code.chop(1);
        InlineAttributes literal;
        literal.traits = InlineAttributes::code;
        m_doc.append(code, literal, id);
        return;
    }
    case CMARK_NODE_HTML_BLOCK: {
        // Raw HTML is shown as the text it is, line for line.
        const int id = leafBlock(Kind::paragraph);
        QString html = utf8(cmark_node_get_literal(node));
        while (html.endsWith(QLatin1Char('\n')))
            html.chop(1);
        m_doc.append(html.replace(QLatin1Char('\n'), QChar::LineSeparator), InlineAttributes{}, id);
        return;
    }
    case CMARK_NODE_ITEM:
        break;
    default:
        break;
    }

    const ExtType ext = extType(node);
    if (type == CMARK_NODE_ITEM || ext == ExtType::taskItem) {
        intent.kind = Kind::listItem;
        const int list = container();
        intent.level = list >= 0 ? m_nextOrdinal[list]++ : 1;
        if (ext == ExtType::taskItem)
            intent.task = cmark_gfm_extensions_get_tasklist_item_checked(node)
                ? AttributedString::Task::checked
                : AttributedString::Task::unchecked;
        openBlock(intent);
        return;
    }
    switch (ext) {
    case ExtType::table: {
        intent.kind = Kind::table;
        const int n = cmark_gfm_extensions_get_table_columns(node);
        const uint8_t *align = cmark_gfm_extensions_get_table_alignments(node);
        for (int i = 0; i < n; ++i) {
            const uint8_t a = align ? align[i] : 0;
            intent.columns.push_back(a == 'l'   ? AttributedString::Alignment::left
                                     : a == 'c' ? AttributedString::Alignment::center
                                     : a == 'r' ? AttributedString::Alignment::right
                                                : AttributedString::Alignment::none);
        }
        openBlock(intent);
        return;
    }
    case ExtType::tableHeader:
    case ExtType::tableRow: {
        intent.kind = ext == ExtType::tableHeader ? Kind::tableHeaderRow : Kind::tableRow;
        const int id = openBlock(intent);
        m_nextOrdinal[id] = 0;
        return;
    }
    case ExtType::tableCell: {
        intent.kind = Kind::tableCell;
        const int row = container();
        intent.level = row >= 0 ? m_nextOrdinal[row]++ : 0;
        openBlock(intent);
        return;
    }
    default:
        // Unknown container blocks add no intent of their own; their content still shows.
        m_containers.push_back(container());
        return;
    }
}

void Builder::exit(cmark_node *node)
{
    const cmark_node_type type = cmark_node_get_type(node);
    if (type == CMARK_NODE_DOCUMENT)
        return;
    if ((type & CMARK_NODE_TYPE_MASK) == CMARK_NODE_TYPE_INLINE) {
        if (m_attributes.size() > 1)
            m_attributes.pop_back();
        return;
    }
    if (!m_containers.empty())
        m_containers.pop_back();
}

// Nodes that can never have children; every other node is left once its children are done.
bool isLeaf(cmark_node_type type)
{
    switch (type) {
    case CMARK_NODE_TEXT:
    case CMARK_NODE_SOFTBREAK:
    case CMARK_NODE_LINEBREAK:
    case CMARK_NODE_CODE:
    case CMARK_NODE_HTML_INLINE:
    case CMARK_NODE_HTML_BLOCK:
    case CMARK_NODE_CODE_BLOCK:
    case CMARK_NODE_THEMATIC_BREAK:
    case CMARK_NODE_FOOTNOTE_REFERENCE:
        return true;
    default:
        return false;
    }
}

} // namespace

AttributedString MarkdownConverter::convert(cmark_node *document) const
{
    // A plain walk over child, sibling and parent links: no recursion, and cheaper than
    // cmark's own iterator on multi-megabyte notes.
    Builder builder(m_baseURL);
    cmark_node *node = document ? cmark_node_first_child(document) : nullptr;
    while (node) {
        builder.enter(node);
        if (cmark_node *child = cmark_node_first_child(node)) {
            node = child;
            continue;
        }
        if (!isLeaf(cmark_node_get_type(node)))
            builder.exit(node);
        while (node) {
            if (cmark_node *next = cmark_node_next(node)) {
                node = next;
                break;
            }
            node = cmark_node_parent(node);
            if (!node || node == document) {
                node = nullptr;
                break;
            }
            builder.exit(node);
        }
    }
    return builder.take();
}
