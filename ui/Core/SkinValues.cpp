#include "ui/Core/SkinValues.h"

#include <climits>
#include <cstring>

namespace vt {

int ParseInt(const char* text, const char** end) {
  if (!text) {
    if (end) *end = text;
    return 0;
  }
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') {
    if (end) *end = text;  // nothing read, as strtol reports it
    return 0;
  }
  long long value = 0;
  while (*p >= '0' && *p <= '9') {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
    ++p;
  }
  if (end) *end = p;
  if (negative) return value > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

namespace {
// Reads the next number of a list and steps over the one separator after it
// (never over the terminating zero).
int NextNumber(const char*& p) {
  const char* end = p;
  int v = ParseInt(p, &end);
  p = end;
  if (*p) ++p;
  return v;
}
}  // namespace

SkinRect ParseRect(const char* text) {
  SkinRect r;
  if (!text) return r;
  const char* p = text;
  r.left = NextNumber(p);
  r.top = NextNumber(p);
  r.right = NextNumber(p);
  r.bottom = NextNumber(p);
  return r;
}

SkinSize ParseSize(const char* text) {
  SkinSize s;
  if (!text) return s;
  const char* p = text;
  s.cx = NextNumber(p);
  s.cy = NextNumber(p);
  return s;
}

bool ParseBool(const char* text) { return text && strcmp(text, "true") == 0; }

uint32_t ParseColor(const char* text) {
  if (!text) return 0;
  const char* p = text;
  if (*p == '#') ++p;
  uint32_t v = 0;
  for (;; ++p) {
    unsigned d;
    if (*p >= '0' && *p <= '9') d = static_cast<unsigned>(*p - '0');
    else if (*p >= 'a' && *p <= 'f') d = static_cast<unsigned>(*p - 'a' + 10);
    else if (*p >= 'A' && *p <= 'F') d = static_cast<unsigned>(*p - 'A' + 10);
    else break;
    // Like strtoul with a 32-bit unsigned long: too many digits saturate.
    v = v > 0x0FFFFFFFu ? 0xFFFFFFFFu : ((v << 4) | d);
  }
  return v;
}

}  // namespace vt
