// A note that quotes words in scripts that need OpenType shaping draws without a word on the
// terminal, even where no installed font covers those scripts (this machine has no Kannada or
// Malayalam font). Alone in its program: the messages are caught from before the first note.
#include "StructuredText.h"

#include <QApplication>
#include <QFontDatabase>
#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

QStringList caught;

void catchMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    caught.append(message);
}

} // namespace

TEST(UncoveredScriptTest, ANoteInScriptsNoFontCoversDrawsWithoutMessages)
{
    const QtMessageHandler previous = qInstallMessageHandler(catchMessage);
    {
        // Each size, weight and style of text is a font search of its own.
        StructuredText view(QStringLiteral("# \u0CAB heading \u0D06\n\n"
                                           "Kannada \u0CAB and Malayalam \u0D06, **bold \u0CAB**, *italic \u0D06*, "
                                           "`code \u0CAB`.\n\n"
                                           "## \u0D06\u0CAB\n\n"
                                           "| \u0CAB | \u0D06 |\n|---|---|\n| a | \u0CAB |\n\n"
                                           "> quoted \u0D06\n"));
        view.resize(500, 100);
        view.show();
        view.finishLayout();
        view.resize(500, view.heightForWidth(500));
        const QImage drawn = view.grab().toImage();
        EXPECT_FALSE(drawn.isNull());
    }
    qWarning("a warning of its own");
    qInstallMessageHandler(previous);

    const QStringList reports = caught.filter(QStringLiteral("OpenType support missing"));
    EXPECT_EQ(reports.size(), 0) << reports.value(0).toStdString() << " (fonts for Kannada here: "
                                 << QFontDatabase::families(QFontDatabase::Kannada).size() << ")";
    EXPECT_EQ(caught.filter(QStringLiteral("a warning of its own")).size(), 1) << "other messages still go through";
}
