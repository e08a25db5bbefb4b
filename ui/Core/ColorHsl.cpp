#include "ui/Core/ColorHsl.h"

#include <cmath>

namespace vt {

namespace {

double Clamp01(double v) { return v < 0.0 ? 0.0 : v > 1.0 ? 1.0 : v; }

double HueToChannel(double p, double q, double t) {
  if (t < 0.0) t += 1.0;
  if (t > 1.0) t -= 1.0;
  if (t < 1.0 / 6.0) return p + (q - p) * 6.0 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
  return p;
}

uint32_t Channel(double v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0)); }

}  // namespace

uint32_t AdjustColorHsl(uint32_t argb, const HslAdjust& adjust) {
  if (adjust.IsIdentity()) return argb;
  const double r = ((argb >> 16) & 0xFF) / 255.0, g = ((argb >> 8) & 0xFF) / 255.0, b = (argb & 0xFF) / 255.0;
  const double mx = std::fmax(r, std::fmax(g, b)), mn = std::fmin(r, std::fmin(g, b));
  double h = 0.0, s = 0.0, l = (mx + mn) / 2.0;
  const double d = mx - mn;
  if (d > 0.0) {
    s = l > 0.5 ? d / (2.0 - mx - mn) : d / (mx + mn);
    if (mx == r) h = (g - b) / d + (g < b ? 6.0 : 0.0);
    else if (mx == g) h = (b - r) / d + 2.0;
    else h = (r - g) / d + 4.0;
    h /= 6.0;
  }
  int turn = adjust.hue % 360;
  if (turn < 0) turn += 360;
  h += turn / 360.0;
  if (h >= 1.0) h -= 1.0;
  s = Clamp01(s * adjust.saturation / 100.0);
  l = Clamp01(l * adjust.lightness / 100.0);
  double nr = l, ng = l, nb = l;
  if (s > 0.0) {
    const double q = l < 0.5 ? l * (1.0 + s) : l + s - l * s;
    const double p = 2.0 * l - q;
    nr = HueToChannel(p, q, h + 1.0 / 3.0);
    ng = HueToChannel(p, q, h);
    nb = HueToChannel(p, q, h - 1.0 / 3.0);
  }
  return (argb & 0xFF000000u) | Channel(nr) << 16 | Channel(ng) << 8 | Channel(nb);
}

}  // namespace vt
