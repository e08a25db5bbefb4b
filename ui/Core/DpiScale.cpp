#include "ui/Core/DpiScale.h"

#include <climits>
#include <cstring>

namespace vt {

int DpiScale::ClampDpi(int dpi) {
  if (dpi <= 0) return kBaseDpi;  // "unknown" from a failed query
  if (dpi < kMinDpi) return kMinDpi;
  if (dpi > kMaxDpi) return kMaxDpi;
  return dpi;
}

int MulDivRound(int value, int num, int den) {
  if (den == 0) return value;
  long long p = static_cast<long long>(value) * num;
  long long half = den / 2;
  long long q = p >= 0 ? (p + half) / den : -((-p + half) / den);
  if (q > INT_MAX) return INT_MAX;
  if (q < INT_MIN) return INT_MIN;
  return static_cast<int>(q);
}

int DpiScale::Scale(int value) const { return MulDivRound(value, dpi_, kBaseDpi); }

SkinRect DpiScale::Scale(const SkinRect& r) const {
  return {Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)};
}

SkinSize DpiScale::Scale(const SkinSize& s) const { return {Scale(s.cx), Scale(s.cy)}; }

namespace {

bool InList(const char* name, const char* const* list, size_t n) {
  if (!name) return false;
  for (size_t i = 0; i < n; ++i) {
    if (strcmp(name, list[i]) == 0) return true;
  }
  return false;
}

// Writes v in decimal to out (room for 21 bytes); returns the length.
// Written by hand: no locale, no printf, bounded.
size_t WriteDecimal(long long v, char* out) {
  char rev[20];
  size_t r = 0;
  unsigned long long a = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  do {
    rev[r++] = static_cast<char>('0' + a % 10);
    a /= 10;
  } while (a);
  size_t len = 0;
  if (v < 0) out[len++] = '-';
  while (r) out[len++] = rev[--r];
  return len;
}

}  // namespace

bool IsPixelAttribute(const char* name) {
  static const char* const kNames[] = {
      "pos",        "width",          "height",         "minwidth",        "maxwidth",
      "minheight",  "maxheight",      "padding",        "inset",           "childpadding",
      "textpadding", "itemtextpadding", "bordersize",   "leftbordersize",  "topbordersize",
      "rightbordersize", "bottombordersize", "borderround", "dropboxsize", "linesize",
      "sepwidth",   "sepheight"};
  return InList(name, kNames, sizeof(kNames) / sizeof(kNames[0]));
}

bool IsPixelWindowAttribute(const char* name) {
  static const char* const kNames[] = {"size", "sizebox", "caption", "roundcorner", "mininfo", "maxinfo"};
  return InList(name, kNames, sizeof(kNames) / sizeof(kNames[0]));
}

CUIString ScalePixelValue(const char* value, const DpiScale& scale) {
  CUIString out;
  if (!value) return out;
  char buf[kMaxScaledValue + 1];
  size_t n = 0;
  auto put = [&](const char* s, size_t len) {
    if (n + len > kMaxScaledValue) len = kMaxScaledValue - n;  // cut at the bound
    memcpy(buf + n, s, len);
    n += len;
  };
  const char* p = value;
  while (*p && n < kMaxScaledValue) {
    bool negative = *p == '-' && p[1] >= '0' && p[1] <= '9';
    if (negative || (*p >= '0' && *p <= '9')) {
      const char* end = nullptr;
      int v = ParseInt(p, &end);
      char num[21];
      put(num, WriteDecimal(scale.Scale(v), num));
      p = end;
      // ParseInt saturates: skip any digits left after it.
      while (*p >= '0' && *p <= '9') ++p;
    } else {
      put(p, 1);
      ++p;
    }
  }
  out.Assign(buf, n);
  return out;
}

int ArtworkPercent(const DpiScale& scale) {
  int want = scale.Percent();
  for (int p : kArtworkPercents) {
    if (p >= want) return p;
  }
  return kArtworkPercents[sizeof(kArtworkPercents) / sizeof(kArtworkPercents[0]) - 1];
}

CUIString ArtworkName(const char* name, int percent) {
  CUIString out;
  if (!name) return out;
  if (percent == 100) return CUIString(name);
  size_t len = strlen(name);
  size_t dot = len;
  // The extension's dot: the last one after the last folder separator,
  // scanned forward over double-byte characters (a GBK trail byte may be '\\').
  for (size_t i = 0; i < len; ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < len) {
      ++i;
    } else if (c == '/' || c == '\\') {
      dot = len;
    } else if (c == '.') {
      dot = i;
    }
  }
  out.Assign(name, dot);
  char suffix[22] = {'@'};
  out.Append(suffix, 1 + WriteDecimal(percent, suffix + 1));
  out.Append(name + dot);
  return out;
}

}  // namespace vt
