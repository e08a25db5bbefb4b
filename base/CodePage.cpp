#include "base/CodePage.h"

namespace vt {

size_t CharBoundaryAtOrBelow(const char* text, size_t len, size_t limit) {
  if (limit >= len) return len;
  size_t pos = 0;
  while (pos < limit) {
    size_t step = CharSize(text, len, pos);
    if (pos + step > limit) break;
    pos += step;
  }
  return pos;
}

size_t WholeCharsOfCutText(const char* text, size_t len) {
  size_t pos = 0;
  while (pos < len) {
    if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 >= len) return pos;
    pos += CharSize(text, len, pos);
  }
  return len;
}

size_t FindAsciiChar(const char* text, size_t len, char ch, size_t from) {
  // Start from the beginning so that 'from' itself is known to be a boundary;
  // a position inside a double-byte character moves to its end.
  size_t pos = 0;
  while (pos < len) {
    if (pos >= from && text[pos] == ch) return pos;
    pos += CharSize(text, len, pos);
  }
  return len;
}

}  // namespace vt
