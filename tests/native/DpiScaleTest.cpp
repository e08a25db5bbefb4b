#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/Core/DpiScale.h"
#include "ui/Core/ImageResample.h"

namespace {

using vt::DpiScale;

TEST(DpiScale, LayoutPixelsAtEachScale) {
  // The main window's 900 x 550 and a few odd values, rounded half away from zero.
  const struct {
    int dpi, value, scaled;
  } cases[] = {{96, 900, 900},  {120, 900, 1125}, {144, 900, 1350}, {192, 900, 1800}, {120, 550, 688},
               {144, 550, 825}, {192, 550, 1100}, {120, 1, 1},      {144, 1, 2},      {120, -3, -4},
               {144, 0, 0},     {168, 7, 12}};
  for (const auto& c : cases) EXPECT_EQ(DpiScale(c.dpi).Scale(c.value), c.scaled) << c.dpi << " " << c.value;
  EXPECT_EQ(DpiScale(144).Percent(), 150);
  EXPECT_EQ(DpiScale(120).Percent(), 125);
  EXPECT_EQ(vt::MulDivRound(2147483647, 10, 1), 2147483647);  // saturates
  EXPECT_EQ(vt::MulDivRound(-2147483647, 10, 1), -2147483647 - 1);
}

TEST(DpiScale, ReportedDpiIsClamped) {
  EXPECT_EQ(DpiScale(0).Dpi(), 96);  // a failed query
  EXPECT_EQ(DpiScale(-5).Dpi(), 96);
  EXPECT_EQ(DpiScale(10).Dpi(), vt::kMinDpi);
  EXPECT_EQ(DpiScale(100000).Dpi(), vt::kMaxDpi);
  EXPECT_TRUE(DpiScale().IsIdentity());
}

TEST(DpiScale, PixelValuesScaleAsText) {
  const struct {
    int dpi;
    const char* in;
    const char* out;
  } cases[] = {{144, "10,20,110,60", "15,30,165,90"},
               {120, "0,0,0,0", "0,0,0,0"},
               {192, "12", "24"},
               {144, "-4, 8", "-6, 12"},
               {144, "2,2", "3,3"},
               {120, "x-1", "x-1"},  // a minus sign without digits is kept
               {144, "99999999999", "2147483647"},
               {144, "", ""}};
  for (const auto& c : cases) {
    EXPECT_STREQ(vt::ScalePixelValue(c.in, DpiScale(c.dpi)).GetData(), c.out) << c.in;
  }
  EXPECT_STREQ(vt::ScalePixelValue(nullptr, DpiScale(144)).GetData(), "");
  // A value longer than any layout value stops at the bound.
  std::string longValue(1000, '7');
  EXPECT_LE(vt::ScalePixelValue(longValue.c_str(), DpiScale(96)).GetLength(), vt::kMaxScaledValue);
  std::string many;
  for (int i = 0; i < 200; ++i) many += "5,";
  EXPECT_EQ(vt::ScalePixelValue(many.c_str(), DpiScale(192)).GetLength(), vt::kMaxScaledValue);
}

TEST(DpiScale, WhichAttributesArePixels) {
  for (const char* name : {"pos", "width", "padding", "inset", "childpadding", "textpadding", "borderround",
                           "bordersize", "maxheight"}) {
    EXPECT_TRUE(vt::IsPixelAttribute(name)) << name;
  }
  for (const char* name : {"text", "font", "bkimage", "textcolor", "align", "size", "", "POS"}) {
    EXPECT_FALSE(vt::IsPixelAttribute(name)) << name;
  }
  EXPECT_FALSE(vt::IsPixelAttribute(nullptr));
  for (const char* name : {"size", "caption", "sizebox", "roundcorner", "mininfo", "maxinfo"}) {
    EXPECT_TRUE(vt::IsPixelWindowAttribute(name)) << name;
  }
  EXPECT_FALSE(vt::IsPixelWindowAttribute("alpha"));
}

TEST(DpiScale, NearestArtworkAtOrAbove) {
  const struct {
    int dpi, percent;
  } cases[] = {{96, 100}, {72, 100}, {120, 150}, {144, 150}, {168, 200}, {192, 200}, {288, 200}};
  for (const auto& c : cases) EXPECT_EQ(vt::ArtworkPercent(DpiScale(c.dpi)), c.percent) << c.dpi;
}

TEST(DpiScale, ArtworkNames) {
  const struct {
    const char* name;
    int percent;
    const char* out;
  } cases[] = {{"img/bg-main.png", 150, "img/bg-main@150.png"},
               {"img/bg-main.png", 100, "img/bg-main.png"},
               {"img/loading.gif", 200, "img/loading@200.gif"},
               {"a.b/noext", 150, "a.b/noext@150"},
               {"x.y.png", 200, "x.y@200.png"},
               // GBK "\xD5\x5C" ends in a backslash byte: not a folder separator.
               {"\xD5\x5C.png", 150, "\xD5\x5C@150.png"}};
  for (const auto& c : cases) EXPECT_STREQ(vt::ArtworkName(c.name, c.percent).GetData(), c.out) << c.name;
}

uint32_t Argb(int a, int r, int g, int b) {
  return static_cast<uint32_t>(a) << 24 | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
         static_cast<uint32_t>(b);
}

TEST(ImageResample, SizesAndRefusals) {
  std::vector<uint32_t> src(6 * 4, Argb(255, 10, 20, 30)), out;
  ASSERT_TRUE(vt::ResampleImage(src.data(), 6, 4, 5, 3, out));
  ASSERT_EQ(out.size(), 15u);
  for (uint32_t p : out) EXPECT_EQ(p, Argb(255, 10, 20, 30));  // a flat colour stays flat
  ASSERT_TRUE(vt::ResampleImage(src.data(), 6, 4, 9, 6, out));
  EXPECT_EQ(out.size(), 54u);
  EXPECT_FALSE(vt::ResampleImage(src.data(), 6, 4, 0, 3, out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(vt::ResampleImage(nullptr, 6, 4, 5, 3, out));
  EXPECT_FALSE(vt::ResampleImage(src.data(), 6, 4, vt::kMaxResampleSide + 1, 3, out));
}

TEST(ImageResample, DownscaleAveragesCoveredArea) {
  // 150 % to 125 %: six columns into five. A one-pixel black line on white
  // must survive as a darker column, not vanish (what dropping rows does).
  std::vector<uint32_t> src(6 * 2, Argb(255, 255, 255, 255)), out;
  for (int y = 0; y < 2; ++y) src[static_cast<size_t>(y) * 6 + 2] = Argb(255, 0, 0, 0);
  ASSERT_TRUE(vt::ResampleImage(src.data(), 6, 2, 5, 2, out));
  // Output column 1 covers source 1.2..2.4 (a third of it is the line),
  // column 2 covers 2.4..3.6 (half): the line's ink is kept, spread over both.
  int ink = 0;
  for (int x = 0; x < 5; ++x) ink += 255 - static_cast<int>((out[static_cast<size_t>(x)] >> 16) & 0xFF);
  EXPECT_NEAR(ink, 255 * 5 / 6, 3);
  EXPECT_EQ((out[2] >> 16) & 0xFF, 128u);
  EXPECT_EQ(out[0], Argb(255, 255, 255, 255));
  EXPECT_EQ(out[4], Argb(255, 255, 255, 255));
  // Halving averages exact 2 x 2 blocks.
  std::vector<uint32_t> quad = {Argb(255, 200, 0, 0), Argb(255, 0, 200, 0), Argb(255, 0, 0, 200),
                                Argb(255, 100, 100, 100)};
  ASSERT_TRUE(vt::ResampleImage(quad.data(), 2, 2, 1, 1, out));
  EXPECT_EQ(out[0], Argb(255, 75, 75, 75));
}

TEST(ImageResample, TransparentPixelsDoNotTintEdges) {
  // Premultiplied: a transparent pixel is 0, whatever colour it "had".
  std::vector<uint32_t> src = {Argb(255, 255, 0, 0), 0, Argb(255, 255, 0, 0), 0}, out;
  ASSERT_TRUE(vt::ResampleImage(src.data(), 2, 2, 1, 1, out));
  EXPECT_EQ(out[0], Argb(128, 128, 0, 0));
  for (uint32_t p : out) {
    EXPECT_LE((p >> 16) & 0xFF, p >> 24);  // no colour above its alpha
  }
}

}  // namespace
