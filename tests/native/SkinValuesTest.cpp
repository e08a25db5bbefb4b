#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "ui/Core/AttributeString.h"
#include "ui/Core/ImageGeometry.h"
#include "ui/Core/ImageString.h"
#include "ui/Core/SkinValues.h"

namespace {

using vt::SkinRect;

TEST(SkinValues, IntegersReadLikeStrtol) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"12", 12}, {"  -7px", -7}, {"+3", 3}, {"abc", 0}, {"", 0}, {"99999999999", INT_MAX},
               {"-99999999999", INT_MIN}, {"\t42,1", 42}};
  for (const auto& c : cases) EXPECT_EQ(vt::ParseInt(c.text), c.value) << c.text;
  EXPECT_EQ(vt::ParseInt(nullptr), 0);
}

TEST(SkinValues, RectanglesAndSizes) {
  const struct {
    const char* text;
    SkinRect r;
  } cases[] = {{"160,43,220,63", {160, 43, 220, 63}}, {"1, 2, 3, 4", {1, 2, 3, 4}}, {"-5,6,7", {-5, 6, 7, 0}},
               {"", {0, 0, 0, 0}}, {"1;2;3;4", {1, 2, 3, 4}}, {"1,,3,4", {1, 0, 3, 4}}};
  for (const auto& c : cases) EXPECT_EQ(vt::ParseRect(c.text), c.r) << c.text;
  vt::SkinSize s = vt::ParseSize("900,550");
  EXPECT_EQ(s.cx, 900);
  EXPECT_EQ(s.cy, 550);
}

TEST(SkinValues, BooleansAreTrueOnlyForExactTrue) {
  EXPECT_TRUE(vt::ParseBool("true"));
  for (const char* t : {"TRUE", "True", "1", "false", "FALSE", "", " true"}) EXPECT_FALSE(vt::ParseBool(t)) << t;
  EXPECT_FALSE(vt::ParseBool(nullptr));
}

TEST(SkinValues, ColoursWithOptionalHash) {
  const struct {
    const char* text;
    uint32_t value;
  } cases[] = {{"#FFFDFDFD", 0xFFFDFDFDu}, {"FFFDFDFD", 0xFFFDFDFDu}, {"#FF#3333CC", 0x000000FFu},
               {"ff00ff00", 0xFF00FF00u}, {"##1", 0u}, {"", 0u}, {"12zz", 0x12u},
               {"1FFFFFFFF", 0xFFFFFFFFu}, {"#000000001", 0x1u}};
  for (const auto& c : cases) EXPECT_EQ(vt::ParseColor(c.text), c.value) << c.text;
}

std::vector<std::pair<std::string, std::string>> Collect(const char* text, size_t* applied = nullptr) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t n = vt::ForEachAttribute(
      text,
      [](void* ctx, const char* name, const char* value) {
        static_cast<std::vector<std::pair<std::string, std::string>>*>(ctx)->emplace_back(name, value);
      },
      &out);
  if (applied) *applied = n;
  return out;
}

TEST(AttributeString, AppliesPairsInOrder) {
  auto pairs = Collect(
      "max=\"50\" min=\"0\" foreimage=\"file='img\\progress_fore_good.png'\" isstretchfore=\"FALSE\" float=\"true\" "
      "pos=\"275,9,425,24\"");
  ASSERT_EQ(pairs.size(), 6u);
  EXPECT_EQ(pairs[2].first, "foreimage");
  EXPECT_EQ(pairs[2].second, "file='img\\progress_fore_good.png'");
  EXPECT_EQ(pairs[5].second, "275,9,425,24");
}

TEST(AttributeString, StopsAtFirstMalformedPairKeepingEarlierOnes) {
  const struct {
    const char* text;
    size_t applied;
    const char* lastName;
  } cases[] = {
      {"a=\"1\"  b=\"2\"", 1, "a"},       // two spaces
      {"a=\"1\"b=\"2\"", 1, "a"},         // no space
      {"a=\"1\" b=2", 1, "a"},            // no opening quote
      {"a=\"1\" b=\"2", 1, "a"},          // no closing quote
      {"a=\"1\" b", 1, "a"},              // no '='
      {"a=\"1\" ", 1, "a"},               // trailing space ends it
      {" a=\"1\"", 1, " a"},              // names are not trimmed
      {"text=\"速度\" x=\"&amp;\"", 2, "x"},  // no entity decoding
      {"", 0, nullptr},
  };
  for (const auto& c : cases) {
    size_t n = 0;
    auto pairs = Collect(c.text, &n);
    EXPECT_EQ(n, c.applied) << c.text;
    ASSERT_EQ(pairs.size(), c.applied) << c.text;
    if (c.lastName) {
      EXPECT_EQ(pairs.back().first, c.lastName) << c.text;
    }
  }
  EXPECT_EQ(Collect("x=\"&amp;\"")[0].second, "&amp;");
}

TEST(ImageString, BareNameAndEveryKey) {
  vt::ImageSpec bare;
  vt::ParseImageString("img\\funbtn_start.png", bare);
  EXPECT_STREQ(bare.file, "img\\funbtn_start.png");
  EXPECT_FALSE(bare.destSet);

  vt::ImageSpec s;
  vt::ParseImageString(
      "file='img\\scrollbar.png' source='0,0,10,10' dest='1,2,3,4' corner='3,3,3,3' mask='#FF000000' fade='128' "
      "hole='true' xtiled='true' ytiled='false' restype='PNG' res='' unknown='x'",
      s);
  EXPECT_STREQ(s.file, "img\\scrollbar.png");
  EXPECT_EQ(s.source, (SkinRect{0, 0, 10, 10}));
  EXPECT_EQ(s.dest, (SkinRect{1, 2, 3, 4}));
  EXPECT_TRUE(s.destSet);
  EXPECT_EQ(s.corner, (SkinRect{3, 3, 3, 3}));
  EXPECT_EQ(s.mask, 0xFF000000u);
  EXPECT_EQ(s.fade, 128);
  EXPECT_TRUE(s.hole);
  EXPECT_TRUE(s.xtiled);
  EXPECT_FALSE(s.ytiled);
  EXPECT_STREQ(s.restype, "PNG");
  EXPECT_TRUE(s.res.IsEmpty());  // empty values are ignored
}

TEST(ImageString, ModifierParsesOnTopAndFadeIsClamped) {
  vt::ImageSpec s;
  vt::ParseImageString("file='a.png' fade='300'", s);
  vt::ParseImageString("dest='0,0,20,15' source='0,0,20,15'", s);
  EXPECT_STREQ(s.file, "a.png");
  EXPECT_EQ(s.fade, 255);
  EXPECT_EQ(s.dest, (SkinRect{0, 0, 20, 15}));
  vt::ParseImageString("fade='-4'", s);
  EXPECT_EQ(s.fade, 0);
}

TEST(ImageString, FurtherImageIsFlushedFirstAndMalformedPairStops) {
  std::vector<std::string> flushed;
  vt::ImageSpec s;
  vt::ParseImageString(
      "file='a.png' dest='0,0,5,5' file='b.png' corner='1,1,1,1' fade='9 x='1'", s,
      [](void* ctx, const vt::ImageSpec& spec) {
        static_cast<std::vector<std::string>*>(ctx)->push_back(spec.file.GetData());
      },
      &flushed);
  ASSERT_EQ(flushed.size(), 1u);
  EXPECT_EQ(flushed[0], "a.png");
  EXPECT_STREQ(s.file, "b.png");
  EXPECT_EQ(s.corner, (SkinRect{1, 1, 1, 1}));
  EXPECT_EQ(s.fade, 9);  // "9 x=" up to the next quote; then "1'" is no separator: stop
}

TEST(ImageGeometry, DestinationIsClippedToControl) {
  SkinRect control{100, 50, 200, 80};
  EXPECT_EQ(vt::ImageDestination(control, {}, false), control);
  EXPECT_EQ(vt::ImageDestination(control, {10, 5, 500, 20}, true), (SkinRect{110, 55, 200, 70}));
  EXPECT_EQ(vt::ImageDestination(control, {0, 0, INT_MAX, INT_MAX}, true), control);
}

TEST(ImageGeometry, SourceIsClippedToBitmap) {
  EXPECT_EQ(vt::ImageSource({}, 20, 30), (SkinRect{0, 0, 20, 30}));
  EXPECT_EQ(vt::ImageSource({10, 20, 40, 90}, 20, 30), (SkinRect{10, 20, 20, 30}));
  EXPECT_EQ(vt::ImageSource({-5, -5, 5, 5}, 20, 30), (SkinRect{0, 0, 5, 5}));
}

TEST(ImageGeometry, NinePiecesCopyCornersStretchEdgesAndCentre) {
  vt::ImagePiece p[9];
  int n = vt::NinePieces({0, 0, 100, 50}, {0, 0, 10, 30}, {3, 3, 3, 3}, false, false, false, p);
  ASSERT_EQ(n, 9);
  EXPECT_EQ(p[0].dst, (SkinRect{0, 0, 3, 3}));      // top-left: unscaled
  EXPECT_EQ(p[0].src, (SkinRect{0, 0, 3, 3}));
  EXPECT_EQ(p[1].dst, (SkinRect{3, 0, 97, 3}));     // top edge: stretched along x
  EXPECT_EQ(p[1].src, (SkinRect{3, 0, 7, 3}));
  EXPECT_EQ(p[4].dst, (SkinRect{3, 3, 97, 47}));    // centre
  EXPECT_EQ(p[4].src, (SkinRect{3, 3, 7, 27}));
  EXPECT_EQ(p[8].dst, (SkinRect{97, 47, 100, 50})); // bottom-right
  EXPECT_EQ(p[8].src, (SkinRect{7, 27, 10, 30}));

  n = vt::NinePieces({0, 0, 100, 50}, {0, 0, 10, 30}, {3, 3, 3, 3}, true, false, false, p);
  EXPECT_EQ(n, 8);  // hole: no centre
  n = vt::NinePieces({0, 0, 100, 50}, {0, 0, 10, 30}, {}, true, true, true, p);
  ASSERT_EQ(n, 1);  // no corners: one stretched piece
  EXPECT_FALSE(p[0].tileX);
  n = vt::NinePieces({0, 0, 4, 4}, {0, 0, 10, 10}, {3, 3, 3, 3}, false, false, false, p);
  for (int i = 0; i < n; ++i) EXPECT_FALSE(p[i].dst.IsEmpty());  // overlapping corners leave empty pieces out
}

TEST(ImageGeometry, TiledCentreRepeatsAndCutsAtTheEdge) {
  vt::ImagePiece p[9];
  int n = vt::NinePieces({0, 0, 30, 20}, {0, 0, 12, 12}, {1, 1, 1, 1}, false, true, false, p);
  ASSERT_EQ(n, 9);
  ASSERT_TRUE(p[4].tileX);
  std::vector<SkinRect> dsts, srcs;
  struct Out {
    std::vector<SkinRect>* d;
    std::vector<SkinRect>* s;
  } out{&dsts, &srcs};
  int tiles = vt::ForEachTile(
      p[4], 100,
      [](void* ctx, const SkinRect& d, const SkinRect& s) {
        static_cast<Out*>(ctx)->d->push_back(d);
        static_cast<Out*>(ctx)->s->push_back(s);
      },
      &out);
  // Centre dst 1..29 (28 wide), src 1..11 (10 wide): tiles of 10, 10, 8.
  ASSERT_EQ(tiles, 3);
  EXPECT_EQ(dsts[2], (SkinRect{21, 1, 29, 19}));
  EXPECT_EQ(srcs[2], (SkinRect{1, 1, 9, 11}));
  EXPECT_EQ(srcs[0].Height(), 10);  // y still stretched: whole source height
  EXPECT_EQ(vt::ForEachTile(p[4], 2, [](void*, const SkinRect&, const SkinRect&) {}, nullptr), 2);
}

}  // namespace
