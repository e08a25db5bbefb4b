#include "ui/controls/ProgressGeometry.h"

#include <climits>
#include <cstdint>

namespace vt {

namespace {

struct Range {
  int64_t min, max, value;
};

Range Normalise(int min, int max, int value) {
  Range r{min, max, value};
  if (r.min >= r.max) r.max = r.min + 1;  // 64-bit: no overflow at INT_MAX
  if (r.value < r.min) r.value = r.min;
  if (r.value > r.max) r.value = r.max;
  return r;
}

}  // namespace

int ProgressFilled(int min, int max, int value, int length) {
  Range r = Normalise(min, max, value);
  return static_cast<int>((r.value - r.min) * length / (r.max - r.min));
}

CUIString ProgressForeModifier(int min, int max, int value, int width, int height, bool horizontal,
                               bool stretch) {
  int l = 0, t = 0, r = width, b = height;
  if (horizontal) {
    r = ProgressFilled(min, max, value, width);
  } else {
    Range n = Normalise(min, max, value);
    t = static_cast<int>(static_cast<int64_t>(height) * (n.max - n.value) / (n.max - n.min));
  }
  CUIString out;
  if (stretch) {
    out.Format("dest='%d,%d,%d,%d'", l, t, r, b);
  } else {
    out.Format("dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", l, t, r, b, l, t, r, b);
  }
  return out;
}

}  // namespace vt
