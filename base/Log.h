// The program's diagnostic log: the engines' and the HTTP client's lines
// ("start %s..", "CountHoops:...", "http download OK:..."). One sink for
// all of them, standard output unless changed; veltrane-cli sends it to
// standard error so that its standard output holds JSON lines only.
// Each call is written with one fwrite and flushed, so lines of concurrent
// workers may interleave but stay whole.
//
// Every call is also handed, whole, to the log file's sink when one is set
// (base/LogFile_win.h: the daily file of veltrane.exe, the console's --log
// FILE); that sink stamps, masks and queues it.
#pragma once

#include <cstddef>
#include <cstdio>

namespace vt {

// Where the lines go; nullptr means standard output.
void SetLogStream(FILE* stream);

// Called with the text of every log call (no line end added) on the
// caller's thread; it must not block. nullptr: none.
using LogSink = void (*)(const char* text, size_t size);
void SetLogSink(LogSink sink);

// The text and a line feed.
void LogLine(const char* text);

// printf-style; the caller writes its own line end ("\r\n" in the engines'
// lines, as their output has always had). At most 4095 bytes are written;
// a longer text is cut there.
void LogFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vt
