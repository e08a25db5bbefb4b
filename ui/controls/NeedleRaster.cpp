#include "ui/controls/NeedleRaster.h"

#include <algorithm>
#include <cmath>

namespace vt {

SkinRect NeedleBounds(const DialNeedle& n) {
  const float xs[2] = {static_cast<float>(n.dest.left), static_cast<float>(n.dest.right)};
  const float ys[2] = {static_cast<float>(n.dest.top), static_cast<float>(n.dest.bottom)};
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (float x : xs) {
    for (float y : ys) {
      float tx, ty;
      n.transform.Apply(x, y, tx, ty);
      minX = std::min(minX, tx);
      maxX = std::max(maxX, tx);
      minY = std::min(minY, ty);
      maxY = std::max(maxY, ty);
    }
  }
  return {static_cast<int>(std::floor(minX)), static_cast<int>(std::floor(minY)),
          static_cast<int>(std::ceil(maxX)), static_cast<int>(std::ceil(maxY))};
}

void RasteriseNeedle(const uint32_t* pixels, int width, int height, const SkinRect& part, const DialNeedle& n,
                     const SkinRect& bounds, uint32_t* out) {
  SkinRect src = part;
  src.left = std::max(0, src.left);
  src.top = std::max(0, src.top);
  src.right = std::min(width, src.right);
  src.bottom = std::min(height, src.bottom);
  if (!pixels || src.IsEmpty() || n.dest.IsEmpty() || bounds.IsEmpty() || !out) return;
  const float c = std::cos(n.theta), s = std::sin(n.theta);
  const float bw = static_cast<float>(n.dest.Width()), bh = static_cast<float>(n.dest.Height());
  for (int y = bounds.top; y < bounds.bottom; ++y) {
    uint32_t* row = out + static_cast<long>(y - bounds.top) * bounds.Width();
    for (int x = bounds.left; x < bounds.right; ++x) {
      // Turn the pixel centre back by the needle's angle to find it in the band.
      float qx = x + 0.5f - n.pivotX, qy = y + 0.5f - n.pivotY;
      float bx = n.pivotX + qx * c + qy * s - n.dest.left;
      float by = n.pivotY - qx * s + qy * c - n.dest.top;
      uint32_t v = 0;
      if (bx >= 0 && by >= 0 && bx < bw && by < bh) {
        int sx = src.left + static_cast<int>(bx * src.Width() / bw);
        int sy = src.top + static_cast<int>(by * src.Height() / bh);
        sx = std::min(sx, src.right - 1);
        sy = std::min(sy, src.bottom - 1);
        v = pixels[static_cast<long>(sy) * width + sx];
      }
      row[x - bounds.left] = v;
    }
  }
}

}  // namespace vt
