// Where the dial's needle goes: the value clamped to 0..1000, the needle
// angle kept in single precision (ten times the rotation in radians), the
// band the needle image is stretched into and the world transform that
// turns it about the pivot.
#pragma once

#include "ui/Core/SkinValues.h"

namespace vt {

constexpr int kDialMin = 0;
constexpr int kDialMax = 1000;

int ClampDialValue(int value);
// value x 0.02929 + 1.01 for the clamped value, as single precision.
float DialAngle(int value);

// A 2-D affine transform as GDI's XFORM holds it:
// x' = x * m11 + y * m21 + dx,  y' = x * m12 + y * m22 + dy.
struct DialTransform {
  float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  void Apply(float x, float y, float& outX, float& outY) const {
    outX = x * m11 + y * m21 + dx;
    outY = x * m12 + y * m22 + dy;
  }
};

struct DialNeedle {
  SkinRect dest;  // window coordinates; 365 and 392 are fixed rows of the window
  float pivotX = 0, pivotY = 0;
  float theta = 0;  // radians
  DialTransform transform;
};

// The needle of a dial whose item rectangle is item, at the given angle.
// The band's offsets are 96-DPI pixels, multiplied by scale (dpi / 96).
DialNeedle DialNeedleGeometry(const SkinRect& item, float angle, float scale = 1.0f);

}  // namespace vt
