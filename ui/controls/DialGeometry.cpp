#include "ui/controls/DialGeometry.h"

#include <cmath>

namespace vt {

int ClampDialValue(int value) {
  if (value > kDialMax) return kDialMax;
  if (value < kDialMin) return kDialMin;
  return value;
}

float DialAngle(int value) {
  // The product is single precision; the sum is rounded to single precision
  // when stored, as the angle field is a float.
  float product = static_cast<float>(ClampDialValue(value)) * 0.02929f;
  return static_cast<float>(static_cast<double>(product) + 1.01);
}

DialNeedle DialNeedleGeometry(const SkinRect& item, float angle, float scale) {
  DialNeedle n;
  auto px = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  // The band's rows are fixed window coordinates: the dial is drawn right
  // only where the main window places it.
  n.dest = {item.left + px(50), px(365), item.right / 2 + px(13), px(392)};
  n.theta = angle / 10.0f;
  float c = std::cos(n.theta), s = std::sin(n.theta);
  n.pivotX = static_cast<float>(item.right / 2 + px(5));
  n.pivotY = static_cast<float>(item.bottom - px(16));
  n.transform.m11 = c;
  n.transform.m12 = s;
  n.transform.m21 = -s;
  n.transform.m22 = c;
  n.transform.dx = n.pivotX - n.pivotX * c + n.pivotY * s;
  n.transform.dy = n.pivotY - n.pivotY * c - n.pivotX * s;
  return n;
}

}  // namespace vt
