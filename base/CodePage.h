// Helpers for text in the system's ANSI code page (936, GBK, on the
// customers' machines). A GBK character is one byte below 0x81, or a lead
// byte 0x81-0xFE followed by a trail byte that may be any of 0x40-0xFE,
// including ASCII punctuation such as '\', '{', '|' and '}'. Every scan that
// looks for an ASCII delimiter must therefore step over whole characters.
#pragma once

#include <cstddef>

namespace vt {

inline bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length in bytes of the character starting at text[pos] within len bytes:
// 1 for a single-byte character, 2 for a double-byte one, 1 for a lead byte
// that has no trail byte left (a cut text never reads past its end).
inline size_t CharSize(const char* text, size_t len, size_t pos) {
  if (pos + 1 < len && IsLeadByte(static_cast<unsigned char>(text[pos])) && text[pos + 1] != '\0') return 2;
  return 1;
}

// Largest length <= limit that does not end inside a double-byte character,
// scanning text (len bytes) from its start.
size_t CharBoundaryAtOrBelow(const char* text, size_t len, size_t limit);

// Length of the whole characters among the first len bytes of a text that was
// cut after them: a lead byte left without its trail byte is dropped.
size_t WholeCharsOfCutText(const char* text, size_t len);

// Position of the first byte equal to the ASCII character ch at or after from,
// stepping over double-byte characters; len when there is none.
size_t FindAsciiChar(const char* text, size_t len, char ch, size_t from = 0);

// Like FindAsciiChar, for a from that is known to start a character (the
// caller has been stepping whole characters): scans from there only.
inline size_t FindAsciiCharFromBoundary(const char* text, size_t len, char ch, size_t from) {
  for (size_t pos = from; pos < len; pos += CharSize(text, len, pos)) {
    if (text[pos] == ch) return pos;
  }
  return len;
}

}  // namespace vt
