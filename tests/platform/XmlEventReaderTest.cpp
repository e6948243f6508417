#include "QtPrinters.h"
#include "XmlEventReader.h"

#include <gtest/gtest.h>

namespace {

// The events written back as markup, CDATA marked; text pieces simply follow
// each other, so tests do not depend on how expat splits runs.
struct Recorder : XmlEventHandler {
    QString out;
    void startElement(QUtf8StringView name, const XmlAttributes &attributes) override
    {
        out += "<" + name.toString();
        const auto map = attributes.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            out += " " + it.key() + "=" + it.value();
        out += ">";
    }
    void characters(QUtf8StringView piece) override { out += piece.toString(); }
    void cdata(QUtf8StringView piece) override { out += "[cdata " + piece.toString() + "]"; }
    void endElement(QUtf8StringView name) override { out += "</" + name.toString() + ">"; }
};

} // namespace

TEST(XmlEventReader, NamesKeepTheirPrefixesAndEntitiesAreResolved)
{
    Recorder r;
    XmlEventReader reader(r);
    ASSERT_TRUE(reader.parse("<?xml version='1.0'?><feed xmlns:arxiv='urn:a'><arxiv:comment>a &amp; b &lt; c"
                             "</arxiv:comment><!-- c --><?pi x?><link href='h' title=\"pdf\"/><t><![CDATA[<x>]]></t></feed>"));
    EXPECT_EQ(r.out, "<feed xmlns:arxiv=urn:a><arxiv:comment>a & b < c</arxiv:comment><link href=h title=pdf></link>"
                     "<t>[cdata <x>]</t></feed>");
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
    EXPECT_TRUE(QString(r.out).remove("<a>").remove("</a>").isEmpty()) << r.out.toStdString();

    QByteArray laughs = "<!DOCTYPE a [<!ENTITY l0 'lol'>";
    for (int i = 1; i <= 12; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " '" + ("&l" + QByteArray::number(i - 1) + ";").repeated(8) + "'>";
    EXPECT_FALSE(reader.parse(laughs + "]><a>&l12;</a>")) << "8^12 expansions must be refused";
}
