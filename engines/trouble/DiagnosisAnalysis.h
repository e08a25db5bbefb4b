// The LAN/WAN analysis of a 20-hop trace: the output of
// "tracert -d -w 800 -h 20 <target>" is walked hop by hop and the path is
// split at the first hop inside the public address's network (the /24 of
// the address the platform saw): that hop and the ones before it are the
// customer's own network (LAN), the rest the wide-area side (WAN).
//
// The output is relied on to hold three lines before the first hop (empty,
// title, empty; a target given by name has a title of two lines), one CR LF
// line per hop, then an empty and a closing line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/UIString.h"

namespace vt {

// The working copy of the output: its first 8191 bytes and a zero.
constexpr size_t kDiagnosisWorkingSize = 8192;

// Number of hop lines: CR LF pairs minus the 5 lines around the hops.
// Writes "CountHoops:%d %d\r\n" (pairs - 5, line feeds - 5).
int32_t CountHoops(const char* text, size_t len);

// Position right after the third CR LF, or -1 when there are fewer.
long SkipHeader(const char* text, size_t len);

// The first three numbers of a dotted address "a.b.c.d" (blanks and line
// ends after it allowed, as the platform's reply is taken whole); false for
// anything else.
bool AddressNetwork(const char* address, int32_t (&network)[3]);
// True when the hop's first three numbers equal those of the public address;
// an empty or malformed public address matches no hop.
bool IsInsidePublicNetwork(const char* hopAddress, const char* publicIp);
// 10.0.0.0/8, 172.16.0.0/12 and 192.168.0.0/16.
bool IsPrivateAddress(const char* address);

struct DiagnosisWalk {
  int32_t hoopsLAN = 0;
  int32_t hoopsWAN = 0;
  int32_t delayLAN = 0;
  int32_t delayWAN = 0;
  int32_t privateHops = 0;
  int32_t reachedPublic = 0;
  int32_t walkedHops = 0;
  CUIString traceHoops;  // each hop's address and "|"
  CUIString traceDelay;  // each hop's delay in decimal and "|"
};

// Walks the output (at most its first 8191 bytes) and adds the figures to
// walk, whose counters start as the window set them (normally 0). Writes the
// "parse ..." and "WAN hoops:..." diagnostic lines. Returns false, leaving
// walk unchanged, when the output has no hop section (fewer than three
// CR LF).
bool AnalyseTraceOutput(const char* output, size_t len, const char* publicIp, DiagnosisWalk& walk);

}  // namespace vt
