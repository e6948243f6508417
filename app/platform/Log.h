#pragma once

#include "LogArgument.h"

#include <QString>
#include <QStringView>
#include <functional>
#include <initializer_list>

// The application's diagnostic log: every message is one line on standard
// error. Formats carry their own "Brivet: " prefix and use "%@" for a text and
// "%d" for an integer, "%%" for a percent sign:
//
//     brivetLog(u"Brivet: ArXiv HTTP error: %d", {status});
//
// Line breaks inside arguments are written as the two characters "\n" (and
// "\r"), so a text that came from the network can never forge a second line.
// Texts registered with registerLogSecret() never appear: each occurrence is
// replaced by "<redacted>". Safe to call from any thread; lines never interleave.
void brivetLog(QStringView format, std::initializer_list<LogArgument> arguments = {});

// The line brivetLog() would write, without the trailing newline.
QString formatLogLine(QStringView format, std::initializer_list<LogArgument> arguments = {});

// A text (an access token) that must never reach the log. Texts shorter than
// 8 characters are ignored.
void registerLogSecret(const QString &secret);

// Where finished lines go; by default standard error. Tests install their own
// sink to read the lines; passing an empty function restores standard error.
// Returns the previous sink.
using LogSink = std::function<void(const QString &line)>;
LogSink setLogSink(LogSink sink);
