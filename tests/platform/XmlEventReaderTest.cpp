#include "QtPrinters.h"
#include "XmlEventReader.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Writes every event as one readable line, joining adjacent text pieces so
// that tests do not depend on how expat splits runs.
class Recorder : public XmlEventHandler {
public:
    QStringList events;
    int textPieces = 0;

    void startElement(QUtf8StringView name, const XmlAttributes &attributes) override
    {
        flush();
        QString line = "start " + name.toString();
        const auto map = attributes.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            line += QStringLiteral(" %1=%2").arg(it.key(), it.value());
        events.append(line);
    }
    void characters(QUtf8StringView text) override
    {
        ++textPieces;
        m_text += text.toString();
    }
    void cdata(QUtf8StringView text) override
    {
        flush();
        events.append("cdata " + text.toString());
    }
    void endElement(QUtf8StringView name) override
    {
        flush();
        events.append("end " + name.toString());
    }
    void flush()
    {
        if (!m_text.isEmpty())
            events.append("text " + m_text);
        m_text.clear();
    }

private:
    QString m_text;
};

} // namespace

TEST(XmlEventReader, ReportsNamesWithPrefixesAttributesAndJoinedText)
{
    Recorder r;
    XmlEventReader reader(r);
    const QByteArray xml =
        "<?xml version='1.0' encoding='UTF-8'?>\n"
        "<feed xmlns='http://www.w3.org/2005/Atom' xmlns:arxiv='http://arxiv.org/schemas/atom'>"
        "<arxiv:comment>a &amp; b &lt; c</arxiv:comment>"
        "<link href='https://arxiv.org/pdf/1' rel=\"related\" title='pdf'/>"
        "<!-- a comment --><?pi data?>"
        "<t><![CDATA[raw <x>]]></t>"
        "</feed>";
    ASSERT_TRUE(reader.parse(xml)) << reader.errorDescription().toStdString();
    EXPECT_TRUE(reader.errorDescription().isEmpty());
    r.flush();
    EXPECT_EQ(r.events, (QStringList{
                          "start feed xmlns=http://www.w3.org/2005/Atom xmlns:arxiv=http://arxiv.org/schemas/atom",
                          "start arxiv:comment",
                          "text a & b < c",
                          "end arxiv:comment",
                          "start link href=https://arxiv.org/pdf/1 rel=related title=pdf",
                          "end link",
                          "start t",
                          "cdata raw <x>",
                          "end t",
                          "end feed",
                      }));
    EXPECT_GT(r.textPieces, 1) << "entity references split a run into pieces";
}

TEST(XmlEventReader, AttributeLookupIsExactByName)
{
    struct Probe : XmlEventHandler {
        std::optional<QString> title, missing;
        qsizetype count = -1;
        void startElement(QUtf8StringView, const XmlAttributes &a) override
        {
            if (auto v = a.value("title"))
                title = v->toString();
            if (auto v = a.value("Title"))
                missing = v->toString();
            count = a.size();
        }
        void characters(QUtf8StringView) override {}
        void endElement(QUtf8StringView) override {}
    } probe;
    XmlEventReader reader(probe);
    ASSERT_TRUE(reader.parse("<link title='pdf' href=''/>"));
    EXPECT_EQ(probe.title, "pdf");
    EXPECT_FALSE(probe.missing.has_value());
    EXPECT_EQ(probe.count, 2);
}

TEST(XmlEventReader, MalformedDocumentsFailWithAReadableDescription)
{
    struct Case {
        const char *name;
        QByteArray xml;
    };
    const std::vector<Case> cases = {
        {"empty", ""},
        {"unclosed tag", "<feed><entry><id>x</id></feed>"},
        {"text only", "not xml at all"},
        {"undefined entity", "<a>&nosuch;</a>"},
        {"two roots", "<a/><b/>"},
        {"truncated", "<feed><entry><title>cut"},
    };
    for (const auto &c : cases) {
        Recorder r;
        XmlEventReader reader(r);
        EXPECT_FALSE(reader.parse(c.xml)) << c.name;
        EXPECT_FALSE(reader.errorDescription().isEmpty()) << c.name;
        EXPECT_TRUE(reader.errorDescription().contains("line")) << c.name << reader.errorDescription().toStdString();
    }
}

TEST(XmlEventReader, EventsBeforeTheFaultAreDelivered)
{
    Recorder r;
    XmlEventReader reader(r);
    EXPECT_FALSE(reader.parse("<feed><entry><id>x</id></entry><entry></feed>"));
    EXPECT_TRUE(r.events.contains("end entry"));
    EXPECT_TRUE(reader.errorDescription().startsWith("mismatched tag")) << reader.errorDescription().toStdString();
}

TEST(XmlEventReader, NeverLoadsExternalEntitiesAndStopsEntityExpansionAttacks)
{
    {
        Recorder r;
        XmlEventReader reader(r);
        const QByteArray xxe = "<?xml version='1.0'?><!DOCTYPE a [<!ENTITY x SYSTEM 'file:///etc/hostname'>]>"
                               "<a>&x;</a>";
        reader.parse(xxe);
        r.flush();
        for (const QString &e : r.events)
            EXPECT_FALSE(e.startsWith("text")) << e.toStdString();
    }
    {
        QByteArray laughs = "<?xml version='1.0'?><!DOCTYPE a [<!ENTITY l0 'lol'>";
        for (int i = 1; i <= 12; ++i)
            laughs += QByteArray("<!ENTITY l") + QByteArray::number(i) + " '" +
                      QByteArray("&l") + QByteArray::number(i - 1) + ";" + QByteArray("&l") + QByteArray::number(i - 1) + ";" +
                      QByteArray("&l") + QByteArray::number(i - 1) + ";" + QByteArray("&l") + QByteArray::number(i - 1) + ";" +
                      "&l" + QByteArray::number(i - 1) + ";" + "&l" + QByteArray::number(i - 1) + ";" +
                      "&l" + QByteArray::number(i - 1) + ";" + "&l" + QByteArray::number(i - 1) + ";" + "'>";
        laughs += "]><a>&l12;</a>";
        struct Counter : XmlEventHandler {
            qint64 bytes = 0;
            void startElement(QUtf8StringView, const XmlAttributes &) override {}
            void characters(QUtf8StringView t) override { bytes += t.size(); }
            void endElement(QUtf8StringView) override {}
        } counter;
        XmlEventReader reader(counter);
        EXPECT_FALSE(reader.parse(laughs)) << "8^12 expansions must be refused";
        EXPECT_LT(counter.bytes, qint64(1) << 30);
    }
}

TEST(XmlEventReader, EveryRecordedArxivFeedIsWellFormed)
{
    const QDir dir(QStringLiteral(BRIVET_REALDATA_DIR "/arxiv"));
    const QStringList files = dir.entryList({"*.xml"}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 25);
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        Recorder r;
        XmlEventReader reader(r);
        EXPECT_TRUE(reader.parse(f.readAll())) << name.toStdString() << ": " << reader.errorDescription().toStdString();
        ASSERT_FALSE(r.events.isEmpty()) << name.toStdString();
        EXPECT_TRUE(r.events.first().startsWith("start feed")) << name.toStdString();
    }
}
