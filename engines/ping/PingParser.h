// Reading the console output of the system's ping command. Replies are
// recognised by byte markers: "time<" / "时间<" (under one millisecond,
// counted as 1 ms) and "time=" / "时间=" followed by the time in whole
// milliseconds. Chinese systems write GBK, so the markers are GBK bytes and
// the search stays byte-level. Header, time-out and statistics lines carry
// no marker.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vt {

// The value of one output line: 1 for a reply under one millisecond, the
// time read after "time=" (C atoi rules), or -1 when the line has no marker.
int32_t EvaluatePingLine(const char* line, size_t len);

// Collects output bytes into lines, in any chunking. A line is evaluated when
// its line feed arrives; a last line without one never is. Only the first
// kLineLimit bytes of a line are kept (a reply line is about 50 bytes); the
// rest of an over-long line is dropped.
class PingOutputParser {
 public:
  static constexpr size_t kLineSize = 128;
  static constexpr size_t kLineLimit = kLineSize - 1;

  // Adds one byte. Returns the reply time (1 or more) when the byte ends a
  // line that carries one, else 0; such a reply is counted for the mean.
  int32_t Feed(char byte);

  int32_t replies() const { return replies_; }
  int32_t sum() const { return sum_; }
  // Mean of the reply times, truncated; 0 when no line carried a time.
  int32_t Mean() const { return replies_ > 0 ? sum_ / replies_ : 0; }

 private:
  char line_[kLineSize] = {};
  size_t length_ = 0;
  int32_t replies_ = 0;
  int32_t sum_ = 0;
};

}  // namespace vt
