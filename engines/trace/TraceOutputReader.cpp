#include "engines/trace/TraceOutputReader.h"

namespace vt {

bool TraceOutputReader::Feed(char byte) {
  // Bytes past the 127th of a line are dropped: the line is parsed from its
  // first 127 bytes.
  if (length_ < kHopLineSize - 1) line_[length_++] = byte;
  if (byte != '\n') return false;
  line_[length_] = '\0';
  size_t length = length_;
  length_ = 0;
  if (LeadingNumber(line_) == 1) started_ = true;
  if (!started_) return false;
  hop_ = ParseHopLine(line_, length);
  if (hop_.hop <= 0) return false;
  joined_ += hop_.address;
  joined_ += '|';
  return true;
}

}  // namespace vt
