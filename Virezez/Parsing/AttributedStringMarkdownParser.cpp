#include "AttributedStringMarkdownParser.h"

#include "MarkdownConverter.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <memory>
#include <mutex>

namespace {

struct ParserDeleter {
    void operator()(cmark_parser *p) const { cmark_parser_free(p); }
};
struct NodeDeleter {
    void operator()(cmark_node *n) const { cmark_node_free(n); }
};

void registerExtensions()
{
    // Registration appends to the engine's process-wide list without any guard of its own.
    static std::once_flag once;
    std::call_once(once, [] { cmark_gfm_core_extensions_ensure_registered(); });
}

// The engine keeps the characters that start inline extension syntax (strikethrough, autolinks)
// in process-wide tables that each parse switches on when its inline pass starts and off when
// it ends. Two parses at once switch each other's extensions off mid-document, so parses take
// turns here. Only the engine's part is serialised; building the document is not.
std::mutex &engineMutex()
{
    static std::mutex mutex;
    return mutex;
}

} // namespace

AttributedStringMarkdownParser::AttributedStringMarkdownParser(QUrl baseURL, Options options,
                                                               PatternProcessor patterns)
    : m_baseURL(std::move(baseURL))
    , m_options(std::move(options))
    , m_patterns(std::move(patterns))
{
}

bool AttributedStringMarkdownParser::isClickable(const QUrl &url)
{
    // Schemes are allowed one by one: a scheme that nobody thought of (a local file, a
    // script, a launcher of some program) is refused by default.
    const QString scheme = url.scheme().toLower();
    return url.isValid()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"));
}

AttributedString AttributedStringMarkdownParser::attributedString(const QString &markup) const
{
    registerExtensions();
    const QByteArray utf8 = markup.toUtf8();
    std::unique_ptr<cmark_node, NodeDeleter> root;
    {
        const std::lock_guard<std::mutex> turn(engineMutex());
        std::unique_ptr<cmark_parser, ParserDeleter> parser(cmark_parser_new(CMARK_OPT_DEFAULT));
        if (!parser)
            throw MarkupParseError("the Markdown parser could not be created");
        for (const char *name : {"table", "strikethrough", "autolink", "tasklist"}) {
            if (cmark_syntax_extension *ext = cmark_find_syntax_extension(name))
                cmark_parser_attach_syntax_extension(parser.get(), ext);
            else if (m_options.failurePolicy == Options::FailurePolicy::throwError)
                throw MarkupParseError(std::string("missing Markdown extension ") + name);
        }
        cmark_parser_feed(parser.get(), utf8.constData(), size_t(utf8.size()));
        root.reset(cmark_parser_finish(parser.get()));
    }
    if (!root)
        throw MarkupParseError("the Markdown text could not be parsed");

    AttributedString document = MarkdownConverter(m_baseURL).convert(root.get());
    if (m_patterns.isEmpty())
        return document;
    return m_patterns.process(std::move(document));
}
