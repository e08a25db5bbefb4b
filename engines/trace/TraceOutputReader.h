// Collects the route trace's output into lines as it arrives (any chunking)
// and parses the hop lines. The hop section starts with the first line whose
// leading number is 1; before it nothing is parsed, and within it lines
// without a hop number (the empty and the closing line) are skipped.
#pragma once

#include <cstddef>

#include "engines/trace/HopParser.h"
#include "base/UIString.h"

namespace vt {

class TraceOutputReader {
 public:
  // Adds one byte. True when the byte ends a hop line; hop() then holds it
  // and its address has been added to the joined text.
  bool Feed(char byte);

  const HopRecord& hop() const { return hop_; }
  bool started() const { return started_; }
  // Every hop's address followed by "|".
  const CUIString& joined() const { return joined_; }

 private:
  char line_[kHopLineSize] = {};  // the first 127 bytes of the current line
  size_t length_ = 0;
  bool started_ = false;
  HopRecord hop_ = {};
  CUIString joined_;
};

}  // namespace vt
