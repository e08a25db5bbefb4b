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

void AppendUtf8(std::string& out, uint32_t cp) {
  if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = 0xFFFD;
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string CodePageToUtf8(const char* text, size_t len, DoubleByteDecoder decode) {
  std::string out;
  out.reserve(len + len / 2);
  size_t pos = 0;
  while (pos < len) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++pos;
      continue;
    }
    const unsigned char t = pos + 1 < len ? static_cast<unsigned char>(text[pos + 1]) : 0;
    if (IsLeadByte(c) && t >= 0x40 && t <= 0xFE && t != 0x7F) {
      uint32_t cp = 0;
      AppendUtf8(out, decode && decode(c, t, &cp) && cp != 0 ? cp : 0xFFFD);
      pos += 2;
    } else {
      AppendUtf8(out, 0xFFFD);
      ++pos;
    }
  }
  return out;
}

uint32_t ReadUtf8(const char* text, size_t len, size_t pos, size_t* size) {
  *size = 1;
  const unsigned char c = static_cast<unsigned char>(text[pos]);
  if (c < 0x80) return c;
  size_t n;
  uint32_t cp, min;
  if (c >= 0xC2 && c <= 0xDF) n = 2, cp = c & 0x1F, min = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) n = 3, cp = c & 0x0F, min = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) n = 4, cp = c & 0x07, min = 0x10000;
  else return 0xFFFD;
  if (pos + n > len) return 0xFFFD;
  for (size_t i = 1; i < n; ++i) {
    const unsigned char d = static_cast<unsigned char>(text[pos + i]);
    if ((d & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0xFFFD;
  *size = n;
  return cp;
}

}  // namespace vt
