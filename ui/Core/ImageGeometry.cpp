#include "ui/Core/ImageGeometry.h"

#include <cstdint>

namespace vt {
namespace {
// Coordinates from layouts can be any int; sums are kept far from overflow.
constexpr long long kLimit = 1 << 24;
int Clamp(long long v, long long lo, long long hi) {
  return static_cast<int>(v < lo ? lo : (v > hi ? hi : v));
}
}  // namespace

SkinRect ImageDestination(const SkinRect& control, const SkinRect& dest, bool destSet) {
  if (!destSet) return control;
  SkinRect r;
  r.left = Clamp(static_cast<long long>(control.left) + dest.left, -kLimit, kLimit);
  r.top = Clamp(static_cast<long long>(control.top) + dest.top, -kLimit, kLimit);
  r.right = Clamp(static_cast<long long>(control.left) + dest.right, -kLimit, kLimit);
  r.bottom = Clamp(static_cast<long long>(control.top) + dest.bottom, -kLimit, kLimit);
  if (r.right > control.right) r.right = control.right;
  if (r.bottom > control.bottom) r.bottom = control.bottom;
  return r;
}

SkinRect ImageSource(const SkinRect& source, int width, int height) {
  SkinRect whole;
  whole.right = width;
  whole.bottom = height;
  if (source.IsZero()) return whole;
  SkinRect r = source;
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > width) r.right = width;
  if (r.bottom > height) r.bottom = height;
  if (r.IsEmpty()) return whole;
  return r;
}

namespace {
void Add(ImagePiece out[9], int& n, int dl, int dt, int dr, int db, int sl, int st, int sr, int sb,
         bool tx = false, bool ty = false) {
  ImagePiece p;
  p.dst = {dl, dt, dr, db};
  p.src = {sl, st, sr, sb};
  p.tileX = tx;
  p.tileY = ty;
  if (p.dst.IsEmpty() || p.src.IsEmpty()) return;
  out[n++] = p;
}
}  // namespace

int NinePieces(const SkinRect& d, const SkinRect& s, const SkinRect& c, bool hole, bool xtiled, bool ytiled,
               ImagePiece out[9]) {
  int n = 0;
  if (c.IsZero()) {
    Add(out, n, d.left, d.top, d.right, d.bottom, s.left, s.top, s.right, s.bottom);
    return n;
  }
  int cl = Clamp(c.left, 0, kLimit), ct = Clamp(c.top, 0, kLimit);
  int cr = Clamp(c.right, 0, kLimit), cb = Clamp(c.bottom, 0, kLimit);
  // Destination and source grid lines.
  auto at = [](int base, int delta) {
    return Clamp(static_cast<long long>(base) + delta, INT32_MIN, INT32_MAX);
  };
  int dx[4] = {d.left, at(d.left, cl), at(d.right, -cr), d.right};
  int dy[4] = {d.top, at(d.top, ct), at(d.bottom, -cb), d.bottom};
  int sx[4] = {s.left, at(s.left, cl), at(s.right, -cr), s.right};
  int sy[4] = {s.top, at(s.top, ct), at(s.bottom, -cb), s.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      bool centre = row == 1 && col == 1;
      if (centre && hole) continue;
      Add(out, n, dx[col], dy[row], dx[col + 1], dy[row + 1], sx[col], sy[row], sx[col + 1], sy[row + 1],
          centre && xtiled, centre && ytiled);
    }
  }
  return n;
}

int ForEachTile(const ImagePiece& p, int maxTiles, TileVisitor visit, void* context) {
  int sw = p.src.Width(), sh = p.src.Height();
  if (sw <= 0 || sh <= 0 || p.dst.IsEmpty()) return 0;
  int stepX = p.tileX ? sw : p.dst.Width();
  int stepY = p.tileY ? sh : p.dst.Height();
  int count = 0;
  for (int y = p.dst.top; y < p.dst.bottom; y += stepY) {
    for (int x = p.dst.left; x < p.dst.right; x += stepX) {
      if (count >= maxTiles) return count;
      SkinRect dst = {x, y, x + stepX, y + stepY};
      if (dst.right > p.dst.right) dst.right = p.dst.right;
      if (dst.bottom > p.dst.bottom) dst.bottom = p.dst.bottom;
      SkinRect src = p.src;
      if (p.tileX) src.right = src.left + dst.Width();
      if (p.tileY) src.bottom = src.top + dst.Height();
      visit(context, dst, src);
      ++count;
    }
  }
  return count;
}

}  // namespace vt
