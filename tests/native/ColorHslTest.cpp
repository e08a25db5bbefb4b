#include <gtest/gtest.h>

#include "ui/Core/ColorHsl.h"

namespace {

TEST(ColorHsl, AdjustmentTable) {
  const struct {
    uint32_t in;
    vt::HslAdjust adjust;
    uint32_t out;
  } cases[] = {
      {0xFF123456, {}, 0xFF123456},                // identity: bit for bit
      {0x80FF0000, {360, 100, 100}, 0x80FF0000},   // a whole turn is none
      {0xFFFF0000, {120, 100, 100}, 0xFF00FF00},   // red turned a third: green
      {0xFFFF0000, {240, 100, 100}, 0xFF0000FF},   // two thirds: blue
      {0xFFFF0000, {-120, 100, 100}, 0xFF0000FF},  // backwards
      {0x40FF0000, {120, 100, 100}, 0x4000FF00},   // alpha kept
      {0xFF000000, {90, 150, 100}, 0xFF000000},    // black has no hue to turn
      {0xFFFFFFFF, {90, 100, 100}, 0xFFFFFFFF},    // nor has white
      {0xFFFF0000, {0, 0, 100}, 0xFF808080},       // no saturation: the grey of its lightness
      {0xFF808080, {0, 100, 200}, 0xFFFFFFFF},     // lightness doubled, at most white
      {0xFF808080, {0, 100, 0}, 0xFF000000},       // no lightness: black
      {0xFF297AE0, {0, 100, 50}, 0xFF113D74},      // the skin's button blue at half its lightness
      {0xFFBF4040, {0, 200, 100}, 0xFFFF0000},     // saturation doubled to full
  };
  for (const auto& c : cases) {
    EXPECT_EQ(vt::AdjustColorHsl(c.in, c.adjust), c.out)
        << std::hex << c.in << " " << std::dec << c.adjust.hue << "," << c.adjust.saturation << ","
        << c.adjust.lightness;
  }
}

// Every hue turned round in steps comes back to the colour it started from.
TEST(ColorHsl, TurningAllTheWayRoundComesBack) {
  for (uint32_t c : {0xFF297AE0u, 0xFF35C07Eu, 0xFFF8B53Du, 0xFF16548Du}) {
    uint32_t v = c;
    for (int i = 0; i < 3; ++i) v = vt::AdjustColorHsl(v, {120, 100, 100});
    for (int shift : {0, 8, 16}) {
      int a = static_cast<int>((c >> shift) & 0xFF), b = static_cast<int>((v >> shift) & 0xFF);
      EXPECT_NEAR(a, b, 2) << std::hex << c << " -> " << v;
    }
  }
}

}  // namespace
