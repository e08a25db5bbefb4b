#include "engines/trouble/DiagnosisAnalysis.h"

#include <climits>
#include <cstring>

#include "base/Log.h"
#include "engines/trace/HopParser.h"

namespace vt {

namespace {

int32_t SaturatingAdd(int32_t a, int32_t b) {
  int64_t sum = static_cast<int64_t>(a) + b;
  if (sum > INT32_MAX) return INT32_MAX;
  if (sum < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(sum);
}

// Position of the first CR LF at or after from, or -1.
long FindCrLf(const char* text, size_t len, size_t from) {
  for (size_t p = from; p + 1 < len; ++p)
    if (text[p] == '\r' && text[p + 1] == '\n') return static_cast<long>(p);
  return -1;
}

// Reads up to three digits as a number 0..255; advances p. False otherwise.
bool ReadOctet(const char*& p, int32_t& value) {
  int digits = 0;
  value = 0;
  while (*p >= '0' && *p <= '9' && digits < 4) {
    value = value * 10 + (*p++ - '0');
    ++digits;
  }
  return digits >= 1 && digits <= 3 && value <= 255;
}

// The number a line starts with (blanks skipped), 0 if none; the line is len
// bytes long.
int32_t LineNumber(const char* line, size_t len) {
  size_t i = 0;
  while (i < len && (line[i] == ' ' || line[i] == '\t')) ++i;
  int32_t value = 0;
  for (; i < len && line[i] >= '0' && line[i] <= '9' && value < 100000; ++i)
    value = value * 10 + (line[i] - '0');
  return value;
}

}  // namespace

int32_t CountHoops(const char* text, size_t len) {
  int32_t pairs = 0, lineFeeds = 0;
  for (size_t p = 0; p + 1 < len; ++p) {
    if (text[p] == '\r' && text[p + 1] == '\n') ++pairs;
    if (text[p] == '\n') ++lineFeeds;
  }
  LogFormat("CountHoops:%d %d\r\n", pairs - 5, lineFeeds - 5);
  return pairs - 5;
}

long SkipHeader(const char* text, size_t len) {
  size_t from = 0;
  for (int i = 0; i < 3; ++i) {
    long at = FindCrLf(text, len, from);
    if (at < 0) return -1;
    from = static_cast<size_t>(at) + 2;
  }
  return static_cast<long>(from);
}

bool AddressNetwork(const char* address, int32_t (&network)[3]) {
  if (!address) return false;
  const char* p = address;
  int32_t octets[4];
  for (int i = 0; i < 4; ++i) {
    if (i > 0 && *p++ != '.') return false;
    if (!ReadOctet(p, octets[i])) return false;
  }
  while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
  if (*p) return false;
  for (int i = 0; i < 3; ++i) network[i] = octets[i];
  return true;
}

bool IsInsidePublicNetwork(const char* hopAddress, const char* publicIp) {
  int32_t hop[3], pub[3];
  if (!AddressNetwork(publicIp, pub) || !AddressNetwork(hopAddress, hop)) return false;
  return hop[0] == pub[0] && hop[1] == pub[1] && hop[2] == pub[2];
}

bool IsPrivateAddress(const char* address) {
  int32_t n[3];
  if (!AddressNetwork(address, n)) return false;
  return n[0] == 10 || (n[0] == 172 && n[1] >= 16 && n[1] <= 31) || (n[0] == 192 && n[1] == 168);
}

bool AnalyseTraceOutput(const char* output, size_t len, const char* publicIp, DiagnosisWalk& walk) {
  char copy[kDiagnosisWorkingSize];
  size_t used = len < kDiagnosisWorkingSize - 1 ? len : kDiagnosisWorkingSize - 1;
  if (used) memcpy(copy, output, used);
  copy[used] = '\0';
  size_t n = strnlen(copy, used);  // a zero byte in the output ends the text

  int32_t hopLimit = CountHoops(copy, n);
  long start = SkipHeader(copy, n);
  if (start < 0) return false;

  // A target given by name takes a title of two lines ("Tracing route to
  // name [a.b.c.d]" / "over a maximum of 20 hops:"), so its hops begin a
  // line later; the walk starts at the first line numbered 1 (which follows
  // the three lines at once for an address).
  size_t pos = static_cast<size_t>(start);
  for (long end;
       (end = FindCrLf(copy, n, pos)) >= 0 && LineNumber(copy + pos, static_cast<size_t>(end) - pos) != 1;)
    pos = static_cast<size_t>(end) + 2;

  int32_t reached = 0;
  for (int32_t i = 0; i < hopLimit; ++i) {
    long end = FindCrLf(copy, n, pos);
    if (end < 0 || static_cast<size_t>(end) == pos) break;
    size_t lineLength = static_cast<size_t>(end) - pos;
    HopRecord hop = ParseHopLine(copy + pos, lineLength);
    int shown = static_cast<int>(lineLength < kHopLineSize - 1 ? lineLength : kHopLineSize - 1);
    LogFormat("parse %d: len:%d %s | %.*s\r\n", i, static_cast<int>(lineLength), hop.address, shown,
              copy + pos);
    walk.traceHoops += hop.address;
    walk.traceHoops += '|';
    walk.traceDelay.AppendFormat("%d|", hop.delay);
    if (IsPrivateAddress(hop.address)) ++walk.privateHops;
    if (reached) {
      if (hop.delay >= 0) walk.delayWAN = SaturatingAdd(walk.delayWAN, hop.delay);
      ++walk.hoopsWAN;  // hops without reply count on this side
    } else {
      if (hop.delay >= 0) {
        walk.delayLAN = SaturatingAdd(walk.delayLAN, hop.delay);
        ++walk.hoopsLAN;
      }
      if (IsInsidePublicNetwork(hop.address, publicIp)) reached = 1;  // this hop stays on the LAN side
    }
    ++walk.walkedHops;
    pos = static_cast<size_t>(end) + 2;
  }

  if (!reached) {  // the public network was never seen: the whole path is WAN
    walk.hoopsWAN = walk.hoopsLAN;
    walk.delayWAN = walk.delayLAN;
    walk.hoopsLAN = 0;
    walk.delayLAN = 0;
  }
  if (walk.privateHops > walk.hoopsLAN) {
    // One millisecond per private hop stays on the LAN side; the rest of the
    // LAN delay is put on the WAN side.
    walk.delayWAN = SaturatingAdd(walk.delayWAN, SaturatingAdd(walk.delayLAN, -walk.privateHops));
    walk.delayLAN = walk.privateHops;
  }
  LogFormat("WAN hoops:%d delay:%d LAN hoops:%d delay:%d ", walk.hoopsWAN, walk.delayWAN, walk.hoopsLAN,
            walk.delayLAN);
  walk.reachedPublic = reached;
  return true;
}

}  // namespace vt
