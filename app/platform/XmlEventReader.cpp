#include "XmlEventReader.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

struct Context {
    XmlEventHandler *handler;
    bool inCdata = false;
};

void XMLCALL onStart(void *data, const XML_Char *name, const XML_Char **attributes)
{
    auto *context = static_cast<Context *>(data);
    context->handler->startElement(QUtf8StringView(name), XmlAttributes(attributes));
}

void XMLCALL onEnd(void *data, const XML_Char *name)
{
    static_cast<Context *>(data)->handler->endElement(QUtf8StringView(name));
}

void XMLCALL onText(void *data, const XML_Char *text, int length)
{
    auto *context = static_cast<Context *>(data);
    const QUtf8StringView piece(text, length);
    if (context->inCdata)
        context->handler->cdata(piece);
    else
        context->handler->characters(piece);
}

void XMLCALL onCdataStart(void *data) { static_cast<Context *>(data)->inCdata = true; }
void XMLCALL onCdataEnd(void *data) { static_cast<Context *>(data)->inCdata = false; }

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

} // namespace

bool XmlEventReader::parse(QByteArrayView document)
{
    m_error.clear();
    // Plain XML_ParserCreate: names keep their prefixes, as written.
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter> parser(XML_ParserCreate(nullptr));
    if (!parser) {
        m_error = QStringLiteral("out of memory");
        return false;
    }
    Context context{&m_handler};
    XML_SetUserData(parser.get(), &context);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    XML_SetCdataSectionHandler(parser.get(), onCdataStart, onCdataEnd);
    XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);

    // XML_Parse takes an int length, so very large documents go in slices.
    constexpr qsizetype slice = 1 << 26;
    qsizetype offset = 0;
    do {
        const qsizetype length = std::min(slice, document.size() - offset);
        const bool last = offset + length == document.size();
        if (XML_Parse(parser.get(), document.data() + offset, int(length), last) != XML_STATUS_OK) {
            const XML_Error code = XML_GetErrorCode(parser.get());
            const XML_LChar *text = XML_ErrorString(code);
            m_error = QStringLiteral("%1 (line %2, column %3)")
                          .arg(text ? QString::fromUtf8(text) : QStringLiteral("Unknown error"))
                          .arg(XML_GetCurrentLineNumber(parser.get()))
                          .arg(XML_GetCurrentColumnNumber(parser.get()) + 1);
            return false;
        }
        offset += length;
    } while (offset < document.size());
    return true;
}
