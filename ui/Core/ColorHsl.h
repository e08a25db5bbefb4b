// The window-wide colour adjustment that controls with "colorhsl" follow:
// a turn of the hue and scales of saturation and lightness, applied to a
// colour in the HSL model (alpha kept). A theme can tint a skin this way
// without new artwork.
#pragma once

#include <cstdint>

namespace vt {

struct HslAdjust {
  int hue = 0;           // degrees added to the hue, taken modulo 360
  int saturation = 100;  // percent of the saturation, 0..200 (the result at most 1)
  int lightness = 100;   // percent of the lightness, 0..200 (the result at most 1)
  bool IsIdentity() const { return hue % 360 == 0 && saturation == 100 && lightness == 100; }
};

// argb (AARRGGBB) adjusted; the identity returns it unchanged, bit for bit.
uint32_t AdjustColorHsl(uint32_t argb, const HslAdjust& adjust);

}  // namespace vt
