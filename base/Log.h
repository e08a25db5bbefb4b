// The program's diagnostic log: the engines' and the HTTP client's lines
// ("start %s..", "CountHoops:...", "http download OK:..."). One sink for
// all of them, standard output unless changed; veltrane-cli sends it to
// standard error so that its standard output holds JSON lines only.
// Each call is written with one fwrite and flushed, so lines of concurrent
// workers may interleave but stay whole.
#pragma once

#include <cstdio>

namespace vt {

// Where the lines go; nullptr means standard output.
void SetLogStream(FILE* stream);

// A second place every line is also written to (the console's --log FILE),
// with passwords and Pass= values masked; nullptr stops the copy.
void SetLogCopyStream(FILE* stream);

// The text and a line feed.
void LogLine(const char* text);

// printf-style; the caller writes its own line end ("\r\n" in the engines'
// lines, as their output has always had). At most 4095 bytes are written;
// a longer text is cut there.
void LogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vt
