#include "engines/ping/PingParser.h"

#include <climits>
#include <cstring>

namespace vt {

namespace {

const char kTimeBelow[] = "time<";
const char kTimeBelowGbk[] = "\xCA\xB1\xBC\xE4<";  // 时间<
const char kTimeEquals[] = "time=";
const char kTimeEqualsGbk[] = "\xCA\xB1\xBC\xE4=";  // 时间=
const size_t kMarkerLength = 5;

// Position of the first occurrence of the 5-byte marker, or nullptr.
const char* FindMarker(const char* line, size_t len, const char* marker) {
  if (len < kMarkerLength) return nullptr;
  for (size_t i = 0; i + kMarkerLength <= len; ++i)
    if (memcmp(line + i, marker, kMarkerLength) == 0) return line + i;
  return nullptr;
}

// C atoi over a counted text: leading blanks, an optional sign, then digits.
// Saturates instead of overflowing on absurd digit runs.
int32_t ReadInteger(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  int64_t value = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    value = value * 10 + (*p++ - '0');
    if (value > INT32_MAX) value = INT32_MAX;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

int32_t EvaluatePingLine(const char* line, size_t len) {
  if (FindMarker(line, len, kTimeBelow) || FindMarker(line, len, kTimeBelowGbk)) return 1;
  const char* end = line + len;
  if (const char* at = FindMarker(line, len, kTimeEquals)) return ReadInteger(at + kMarkerLength, end);
  if (const char* at = FindMarker(line, len, kTimeEqualsGbk)) return ReadInteger(at + kMarkerLength, end);
  return -1;
}

int32_t PingOutputParser::Feed(char byte) {
  if (length_ < kLineLimit) line_[length_++] = byte;
  if (byte != '\n') return 0;
  int32_t value = EvaluatePingLine(line_, length_);
  length_ = 0;
  if (value <= 0) return 0;
  // Eight replies of a few seconds at most; the sum cannot come near the
  // limit, but a replayed output could, so it saturates.
  sum_ = value > INT32_MAX - sum_ ? INT32_MAX : sum_ + value;
  ++replies_;
  return value;
}

}  // namespace vt
