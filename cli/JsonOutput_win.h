// Standard output of veltrane-cli: every JSON line goes through here.
//
// The program's texts are GBK bytes (code page 936: its literals are
// compiled so, and the customers' systems hand it GBK); JSON readers (jq,
// Python's json, browsers) take UTF-8 only. A line is built in the code
// page (JsonLine.h) and converted as a whole when written, with the same
// decoder as the result records (base/CodePageDecode_win.h): its syntax is
// ASCII, which both encodings share, so only the texts inside change.
// Progress on standard error stays in the console's code page, for people
// at that console.
#pragma once

#include <string>

namespace vt {

// Writes json, converted to UTF-8, and a line break to standard output and
// flushes it. A byte that starts no GBK character becomes U+FFFD
// (CodePageToUtf8), so every line is valid UTF-8.
void PrintJsonLine(const std::string& json);

}  // namespace vt
