#include "QtPrinters.h"
#include "XmlEventReader.h"

#include <gtest/gtest.h>

namespace {

// Every event as one line; adjacent text pieces joined, so tests do not
// depend on how expat splits runs.
struct Recorder : XmlEventHandler {
    QStringList events;
    QString text;
    void flush()
    {
        if (!text.isEmpty())
            events.append("text " + std::exchange(text, QString()));
    }
    void startElement(QUtf8StringView name, const XmlAttributes &attributes) override
    {
        flush();
        QString line = "start " + name.toString();
        const auto map = attributes.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            line += " " + it.key() + "=" + it.value();
        events.append(line);
    }
    void characters(QUtf8StringView piece) override { text += piece.toString(); }
    void cdata(QUtf8StringView piece) override { flush(), events.append("cdata " + piece.toString()); }
    void endElement(QUtf8StringView name) override { flush(), events.append("end " + name.toString()); }
};

} // namespace

TEST(XmlEventReader, NamesKeepTheirPrefixesAndEntitiesAreResolved)
{
    Recorder r;
    XmlEventReader reader(r);
    ASSERT_TRUE(reader.parse("<?xml version='1.0'?><feed xmlns:arxiv='urn:a'><arxiv:comment>a &amp; b &lt; c"
                             "</arxiv:comment><!-- c --><?pi x?><link href='h' title=\"pdf\"/><t><![CDATA[<x>]]></t></feed>"));
    EXPECT_EQ(r.events, (QStringList{"start feed xmlns:arxiv=urn:a", "start arxiv:comment", "text a & b < c",
                                     "end arxiv:comment", "start link href=h title=pdf", "end link", "start t",
                                     "cdata <x>", "end t", "end feed"}));
}

TEST(XmlEventReader, MalformedDocumentsFailWithAReadableDescription)
{
    for (const QByteArray &xml : {QByteArray(), QByteArray("not xml"), QByteArray("<a>&nosuch;</a>"),
                                  QByteArray("<a/><b/>"), QByteArray("<feed><entry><title>cut"),
                                  QByteArray("<feed><entry></entry><entry></feed>")}) {
        Recorder r;
        XmlEventReader reader(r);
        EXPECT_FALSE(reader.parse(xml)) << xml.toStdString();
        EXPECT_TRUE(reader.errorDescription().contains("(line ")) << reader.errorDescription().toStdString();
    }
}

TEST(XmlEventReader, LoadsNoExternalEntityAndRefusesEntityExpansion)
{
    Recorder r;
    XmlEventReader reader(r);
    reader.parse("<!DOCTYPE a [<!ENTITY x SYSTEM 'file:///etc/hostname'>]><a>&x;</a>");
    r.flush();
    EXPECT_EQ(r.events.filter("text").size(), 0);

    QByteArray laughs = "<!DOCTYPE a [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 12; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " '" + ("&l" + QByteArray::number(i - 1) + ";").repeated(8) + "'>";
    EXPECT_FALSE(reader.parse(laughs + "]><a>&l12;</a>")) << "8^12 expansions must be refused";
}
