// Reading one hop line of the system's tracert output:
//
//   " 10    12 ms    14 ms    13 ms  1.2.3.4 "
//   "  3     *        *        *     Request timed out."
//   "  1    <1 毫秒    <1 毫秒    <1 毫秒 192.168.1.1"   (Chinese systems, GBK)
//
// The first four characters hold the hop number; then one column per probe
// (a time and "ms", "<1" for under one millisecond, "*" for a lost probe);
// the address is the last blank-separated word.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vt {

// Lines are handled in buffers of this size: at most 127 bytes and a zero.
constexpr size_t kHopLineSize = 128;
constexpr size_t kHopAddressSize = 64;

struct HopRecord {
  int32_t hop;                    // leading number of the line, 0 if none
  int32_t delay;                  // ms; -1 when no probe answered
  char address[kHopAddressSize];  // the hop's address, or "请求超时" when delay is -1
};

// Text shown for a hop without any reply (GBK).
extern const char kHopTimeoutText[];

// The hop's delay: 1 when any probe reads "<1"; otherwise the mean (integer,
// truncating) of the times written before each "ms"; -1 when no time is
// read. A lost probe ("*") among times is left out of the mean.
int32_t HopDelay(const char* line);

// Ends the line after its address (trailing CR, LF and blanks removed) and
// returns the address: the text after the last blank from the fifth
// character on. Changes the line.
char* HopAddress(char* line);

// Parses the first 127 bytes of a line (which need not be zero-ended beyond
// len bytes). The address holds whole characters only: a lead byte left
// without its trail byte at its end is dropped.
HopRecord ParseHopLine(const char* line, size_t len);

// C atoi over a zero-ended text (blanks, optional sign, digits), saturating.
int32_t LeadingNumber(const char* text);

}  // namespace vt
