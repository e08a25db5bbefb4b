// Standard output of veltrane-cli: every JSON line goes through here.
//
// The program's texts are bytes in the ANSI code page (936, GBK, on the
// customers' machines); JSON readers (jq, Python's json, browsers) take
// UTF-8 only. A line is built in the code page (JsonLine.h) and converted
// as a whole when written: its syntax is ASCII, which both encodings share,
// so only the texts inside change. Progress on standard error stays in the
// console's code page, for people at that console.
#pragma once

#include <string>

namespace vt {

// text (ANSI code page) as UTF-8: a byte the code page does not define
// becomes its replacement character; at most three bytes per byte of text.
// Empty when the system cannot convert it (or for a text over 700 MB).
std::string AnsiToUtf8(const std::string& text);

// Writes json, converted to UTF-8, and a line break to standard output and
// flushes it. A line that cannot be converted is replaced by an "error"
// object, so every line stays JSON.
void PrintJsonLine(const std::string& json);

}  // namespace vt
