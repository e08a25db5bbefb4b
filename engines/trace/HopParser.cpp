#include "engines/trace/HopParser.h"

#include <climits>
#include <cstring>

#include "base/CodePage.h"

namespace vt {

const char kHopTimeoutText[] = "请求超时";

namespace {

const size_t kHopColumn = 4;  // searches start at the fifth character

const char* AfterHopColumn(const char* line) {
  size_t len = strnlen(line, kHopColumn);
  return line + len;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

int32_t LeadingNumber(const char* text) {
  const char* p = text;
  while (IsBlank(*p) || *p == '\r' || *p == '\n' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  int64_t value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p++ - '0');
    if (value > INT32_MAX) value = INT32_MAX;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

int32_t HopDelay(const char* line) {
  const char* text = AfterHopColumn(line);
  if (strstr(text, "<1")) return 1;
  int64_t sum = 0;
  int32_t count = 0;
  // Each "ms" closes a probe column; its time is the number right before it
  // (blanks between allowed). A column whose probe was lost reads "*" and
  // holds no "ms"; when it stands before a time, the time's column still
  // ends in "ms" and is read from the digits next to it, so the lost probe
  // is left out of the mean instead of counting as 0.
  for (const char* ms = strstr(text, "ms"); ms; ms = strstr(ms + 2, "ms")) {
    const char* p = ms;
    while (p > text && IsBlank(p[-1])) --p;
    const char* digitsEnd = p;
    while (p > text && p[-1] >= '0' && p[-1] <= '9') --p;
    if (p == digitsEnd) continue;  // "ms" not after a time
    int64_t value = 0;
    for (; p < digitsEnd; ++p) {
      value = value * 10 + (*p - '0');
      if (value > INT32_MAX) value = INT32_MAX;
    }
    sum += value;
    ++count;
  }
  if (count == 0) return -1;
  return static_cast<int32_t>(sum / count);
}

char* HopAddress(char* line) {
  char* crlf = strstr(line, "\r\n");
  if (crlf) *crlf = '\0';
  // Windows writes one blank after the address; any number of blanks and
  // line ends is removed so the address never comes out empty for them.
  size_t len = strlen(line);
  while (len > 0 && (IsBlank(line[len - 1]) || line[len - 1] == '\r' || line[len - 1] == '\n'))
    line[--len] = '\0';
  char* text = line + strnlen(line, kHopColumn);
  char* lastBlank = strrchr(text, ' ');
  return lastBlank ? lastBlank + 1 : text;
}

HopRecord ParseHopLine(const char* line, size_t len) {
  char copy[kHopLineSize] = {};
  size_t used = len < kHopLineSize - 1 ? len : kHopLineSize - 1;
  if (used) memcpy(copy, line, used);  // an empty line may come without a buffer
  copy[strnlen(copy, used)] = '\0';    // a zero byte inside the line ends it

  HopRecord record = {};
  record.hop = LeadingNumber(copy);
  record.delay = HopDelay(copy);
  const char* address = record.delay < 0 ? kHopTimeoutText : HopAddress(copy);
  size_t addressLength = strlen(address);
  // Whole characters only: a line cut at its 127th byte, or a line that
  // simply ends in a lead byte, leaves a lead byte without its trail byte at
  // the end of the address, and the "|" that follows each address in the
  // joined texts would become that character's trail byte.
  size_t cut =
      WholeCharsOfCutText(address, CharBoundaryAtOrBelow(address, addressLength, kHopAddressSize - 1));
  memcpy(record.address, address, cut);
  record.address[cut] = '\0';
  return record;
}

}  // namespace vt
