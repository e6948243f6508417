#pragma once

// For a script that needs OpenType shaping (Kannada, Malayalam, Sinhala and the like) which
// no installed font covers, Qt's font search reports on standard error every font it tried,
// the nameless "any family" it tries last included: `OpenType support missing for "", script
// 18`, dozens of lines for each size, weight and style of each text that holds such a
// character. The text draws all the same (a placeholder box where a glyph is missing), so one
// note quoting a word in such a script would fill the user's terminal.
//
// Drops exactly those reports from then on; every other message goes on to the handler that
// was in place before. Document layouts install it; calling it again does nothing.
void dropUncoveredScriptReports();
