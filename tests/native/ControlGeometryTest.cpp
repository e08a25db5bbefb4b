#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "ui/controls/DialGeometry.h"
#include "ui/controls/NeedleRaster.h"
#include "ui/controls/ProgressGeometry.h"

namespace {

TEST(DialGeometry, ValueClampAndSinglePrecisionAngle) {
  struct Case {
    int value;
    int clamped;
  } cases[] = {{-5, 0}, {0, 0}, {500, 500}, {1000, 1000}, {5000, 1000}, {INT_MIN, 0}, {INT_MAX, 1000}};
  for (const Case& c : cases) {
    EXPECT_EQ(vt::ClampDialValue(c.value), c.clamped) << c.value;
    EXPECT_EQ(vt::DialAngle(c.value), vt::DialAngle(c.clamped)) << c.value;
  }
  EXPECT_EQ(vt::DialAngle(0), 1.01f);
  EXPECT_EQ(vt::DialAngle(500), static_cast<float>(static_cast<double>(500 * 0.02929f) + 1.01));
  EXPECT_NEAR(vt::DialAngle(500), 15.655f, 1e-4);
  EXPECT_NEAR(vt::DialAngle(1000), 30.30f, 1e-4);
}

TEST(DialGeometry, BandAndPivotOfTheMainWindowsDial) {
  vt::DialNeedle n = vt::DialNeedleGeometry({12, 113, 458, 395}, vt::DialAngle(0));
  EXPECT_EQ(n.dest, (vt::SkinRect{62, 365, 242, 392}));
  EXPECT_EQ(n.pivotX, 234.0f);
  EXPECT_EQ(n.pivotY, 379.0f);
  EXPECT_NEAR(n.theta, 0.101f, 1e-6);
  // The pivot stays where it is under the rotation.
  float x, y;
  n.transform.Apply(n.pivotX, n.pivotY, x, y);
  EXPECT_NEAR(x, 234.0f, 1e-3);
  EXPECT_NEAR(y, 379.0f, 1e-3);
}

// Where the needle's far end (the band's left end, on its middle row) lands.
TEST(DialGeometry, NeedleTipSweepsClockwiseOverTheUpperHalf) {
  struct Case {
    int value;
    float degrees;
    float tipX, tipY;
  } cases[] = {
      {0, 5.79f, 62.9f, 361.2f},     // left, slightly raised
      {500, 89.70f, 233.6f, 207.0f},  // nearly straight up
      {1000, 173.61f, 405.0f, 360.4f},  // right, slightly raised
  };
  for (const Case& c : cases) {
    vt::DialNeedle n = vt::DialNeedleGeometry({12, 113, 458, 395}, vt::DialAngle(c.value));
    EXPECT_NEAR(n.theta * 180.0f / 3.14159265f, c.degrees, 0.01f) << c.value;
    float x, y;
    n.transform.Apply(62.0f, 378.5f, x, y);
    EXPECT_NEAR(x, c.tipX, 1.0f) << c.value;
    EXPECT_NEAR(y, c.tipY, 1.0f) << c.value;
  }
}

struct ProgressCase {
  const char* name;
  int min, max, value;
  bool horizontal, stretch;
  const char* modifier;
};

TEST(ProgressGeometry, ForeImageModifierTable) {
  const ProgressCase cases[] = {
      {"half, stretched", 0, 100, 50, true, true, "dest='0,0,75,15'"},
      {"value above max draws full", 0, 50, 70, true, true, "dest='0,0,150,15'"},
      {"value below min draws empty", 0, 50, -3, true, true, "dest='0,0,0,15'"},
      {"cropped: the same part of the image", 0, 50, 25, true, false, "dest='0,0,75,15' source='0,0,75,15'"},
      {"min not below max: max is min + 1", 10, 10, 10, true, true, "dest='0,0,0,15'"},
      {"vertical bars fill from the bottom", 0, 3, 1, false, true, "dest='0,10,150,15'"},
      {"extreme values do not overflow", INT_MIN, INT_MAX, INT_MAX, true, true, "dest='0,0,150,15'"},
      {"min at the top of the range", INT_MAX, INT_MAX, 0, true, true, "dest='0,0,0,15'"},
  };
  for (const ProgressCase& c : cases) {
    CUIString m = vt::ProgressForeModifier(c.min, c.max, c.value, 150, 15, c.horizontal, c.stretch);
    EXPECT_STREQ(m.GetData(), c.modifier) << c.name;
  }
}

}  // namespace

namespace {

// An opaque source of two colours (top half A, bottom half B) turned into
// the main window's needle band.
struct Raster {
  explicit Raster(int value) {
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) src[y * 20 + x] = y < 5 ? 0xFFAAAAAA : 0xFFBBBBBB;
    needle = vt::DialNeedleGeometry({12, 113, 458, 395}, vt::DialAngle(value));
    bounds = vt::NeedleBounds(needle);
    out.assign(static_cast<size_t>(bounds.Width() * bounds.Height()), 0xDEADBEEF);
    vt::RasteriseNeedle(src, 20, 10, {0, 0, 20, 10}, needle, bounds, out.data());
  }
  uint32_t At(int x, int y) const {
    if (x < bounds.left || y < bounds.top || x >= bounds.right || y >= bounds.bottom) return 0;
    return out[static_cast<size_t>((y - bounds.top) * bounds.Width() + (x - bounds.left))];
  }
  uint32_t src[200];
  vt::DialNeedle needle;
  vt::SkinRect bounds;
  std::vector<uint32_t> out;
};

TEST(NeedleRaster, TurnedBandLiesAlongTheNeedle) {
  Raster zero(0), half(500), full(1000);
  EXPECT_NE(zero.At(101, 366), 0u);  // left, slightly raised
  EXPECT_EQ(zero.At(150, 392), 0u);  // below: outside the turned band
  EXPECT_NE(half.At(234, 250), 0u);  // straight up
  EXPECT_EQ(half.At(150, 370), 0u);
  EXPECT_NE(full.At(367, 365), 0u);  // right
  // Turned by nearly half a turn, the band's top half ends up below.
  EXPECT_EQ(full.At(367, 372), 0xFFAAAAAAu);
  EXPECT_EQ(full.At(367, 357), 0xFFBBBBBBu);
  EXPECT_EQ(zero.At(101, 360), 0xFFAAAAAAu);
  for (uint32_t v : zero.out) EXPECT_NE(v, 0xDEADBEEFu);  // every pixel written
}

TEST(NeedleRaster, EmptySourceWritesNothing) {
  vt::DialNeedle n = vt::DialNeedleGeometry({12, 113, 458, 395}, vt::DialAngle(0));
  uint32_t px = 0xFFFFFFFF, out = 7;
  vt::RasteriseNeedle(&px, 1, 1, {0, 0, 0, 0}, n, {0, 0, 1, 1}, &out);
  EXPECT_EQ(out, 7u);
}

}  // namespace
