// Helpers for text in the system's ANSI code page (936, GBK, on the
// customers' machines). A GBK character is one byte below 0x81, or a lead
// byte 0x81-0xFE followed by a trail byte that may be any of 0x40-0xFE,
// including ASCII punctuation such as '\', '{', '|' and '}'. Every scan that
// looks for an ASCII delimiter must therefore step over whole characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

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

// Conversion to UTF-8, for files read outside the program (the result
// record, the local report page). The code page's double-byte table lives
// with the system, so the caller hands in a decoder: the Win32 layer's asks
// the system (base/CodePageDecode_win.h), a native test's asks iconv.
// Returns false when the pair is no character of the code page.
using DoubleByteDecoder = bool (*)(unsigned char lead, unsigned char trail, uint32_t* codePoint);

// Appends the UTF-8 form of one code point (a surrogate or a value above
// U+10FFFF becomes U+FFFD).
void AppendUtf8(std::string& out, uint32_t codePoint);

// Text in the code page as UTF-8. ASCII bytes stay as they are. A lead byte
// followed by a trail byte (0x40-0xFE but 0x7F) is one character, decoded;
// every byte that starts no character (a lead byte without a trail byte
// after it, 0x80, 0xFF), and a pair the decoder does not know, becomes
// U+FFFD. A lead byte never swallows the ASCII byte after it: a cut or
// hostile text cannot hide a quote or bracket that way.
std::string CodePageToUtf8(const char* text, size_t len, DoubleByteDecoder decode);
inline std::string CodePageToUtf8(const std::string& text, DoubleByteDecoder decode) {
  return CodePageToUtf8(text.data(), text.size(), decode);
}

// Reads one UTF-8 character at text[pos] (len bytes): its code point, and
// its length in *size. A byte that starts no well-formed character (a stray
// continuation byte, an overlong or cut form, a surrogate) is U+FFFD of
// length 1.
uint32_t ReadUtf8(const char* text, size_t len, size_t pos, size_t* size);

}  // namespace vt
