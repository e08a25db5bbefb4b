// The diagnostic log of the HTTP client and the engines: one line on standard output per
// call (the text, a line feed, a flush). Nothing in the system reads it;
// lines of concurrent workers may interleave, but each line is written by
// one call and so stays whole.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vt {

void LogLine(const char* text);

// Where the lines go: standard output unless changed. veltrane-cli sends
// them to standard error, so that its standard output holds JSON lines only.
void SetLogStream(FILE* stream);

// "http download OK:<url> Recv:<bytes> Speed:<speed>", the speed in the
// stream's default floating-point form (%g: up to six significant digits).
std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps);

}  // namespace vt
