// The value syntax shared by all layout attributes. Every parser reads a
// zero-terminated text and never past its end; what does not parse reads as
// 0 (numbers, colours) or false (booleans).
#pragma once

#include <cstdint>

namespace vt {

struct SkinRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool operator==(const SkinRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct SkinSize {
  int cx = 0, cy = 0;
};

// Decimal integer like strtol: leading blanks, optional sign, digits; *end
// (if given) receives the first character not read. Saturates at INT range.
int ParseInt(const char* text, const char** end = nullptr);
// "l,t,r,b": each number read like ParseInt, one separator character skipped
// after each of the first three (", " works because blanks lead a number).
SkinRect ParseRect(const char* text);
SkinSize ParseSize(const char* text);
// True only for the exact text "true".
bool ParseBool(const char* text);
// One optional '#', then hexadecimal digits up to the first other character,
// as an unsigned 32-bit AARRGGBB value (more than 8 digits saturate).
uint32_t ParseColor(const char* text);

}  // namespace vt
