// Display scale of a window. Layouts, fonts and image strings are written in
// 96-DPI pixels; a window shown at another DPI multiplies them by dpi / 96
// (rounded half away from zero, so 550 at 120 DPI is 688). The artwork comes
// rendered at 100, 150 and 200 %: a window takes the nearest rendering at or
// above its scale and brings it down to the exact size.
#pragma once

#include "ui/Core/SkinValues.h"
#include "base/UIString.h"

namespace vt {

constexpr int kBaseDpi = 96;
constexpr int kMinDpi = 48;   // what a system reports outside this range is clamped
constexpr int kMaxDpi = 960;  // (10 x); the arithmetic stays far from INT overflow

class DpiScale {
 public:
  DpiScale() = default;
  explicit DpiScale(int dpi) : dpi_(ClampDpi(dpi)) {}
  static int ClampDpi(int dpi);

  int Dpi() const { return dpi_; }
  int Percent() const { return Scale(100); }
  bool IsIdentity() const { return dpi_ == kBaseDpi; }
  int Scale(int value) const;
  SkinRect Scale(const SkinRect& r) const;
  SkinSize Scale(const SkinSize& s) const;
  float ScaleF(float value) const { return value * static_cast<float>(dpi_) / kBaseDpi; }

 private:
  int dpi_ = kBaseDpi;
};

// value x num / den rounded half away from zero, saturated to the int range.
int MulDivRound(int value, int num, int den);

// Attributes whose value is nothing but pixel numbers (one, a size or a
// rectangle): "pos", "width", "padding", "inset", "textpadding" ... Their
// values are scaled as text before the control reads them.
bool IsPixelAttribute(const char* name);
// The window attributes of a layout that are pixels ("size", "caption", ...).
bool IsPixelWindowAttribute(const char* name);

// Every decimal number of a pixel value multiplied by the scale; all other
// characters are kept. Output stops at kMaxScaledValue bytes (longer values
// are not layout values; the rest is dropped).
constexpr size_t kMaxScaledValue = 256;
CUIString ScalePixelValue(const char* value, const DpiScale& scale);

// The renderings of the artwork, in percent, smallest first.
constexpr int kArtworkPercents[] = {100, 150, 200};
// The rendering to draw at a scale: the nearest at or above it, else the
// largest.
int ArtworkPercent(const DpiScale& scale);
// "img/x.png" at 150 % is "img/x@150.png"; at 100 % the name itself. A name
// without an extension gets the suffix at its end.
CUIString ArtworkName(const char* name, int percent);

}  // namespace vt
