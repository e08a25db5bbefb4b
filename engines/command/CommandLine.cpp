#include "engines/command/CommandLine.h"

#include <cstdio>

namespace vt {

namespace {

bool IsHostChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
         c == ':' || c == '_' || c == '%';
}

}  // namespace

bool IsPlainHostText(const char* host) {
  if (!host || !*host || *host == '-') return false;
  for (const char* p = host; *p; ++p)
    if (!IsHostChar(static_cast<unsigned char>(*p))) return false;
  return true;
}

bool FormatCommandLine(char (&out)[kCommandLineSize], const char* pattern, const char* host) {
  out[0] = '\0';
  if (!IsPlainHostText(host)) return false;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  snprintf(out, sizeof out, pattern, host);  // cut at 127 characters by design
#pragma GCC diagnostic pop
  return true;
}

}  // namespace vt
