#include <gtest/gtest.h>

#include "ui/controls/DropBoxStyle.h"

namespace {

TEST(DropBoxStyle, AttributesOfTheDropDownsLayout) {
  vt::DropBoxStyle s = vt::ParseDropBoxStyle(
      "bkcolor=\"#FFF0F8FF\" bordercolor=\"FF3366CC\" bordersize=\"2\" inset=\"3,4,5,6\" childpadding=\"1\" "
      "vscrollbar=\"true\" width=\"9\"");
  EXPECT_EQ(s.bkColor, 0xFFF0F8FFu);
  EXPECT_EQ(s.borderColor, 0xFF3366CCu);
  EXPECT_EQ(s.borderSize, 2);
  EXPECT_EQ(s.insetLeft, 3);
  EXPECT_EQ(s.insetTop, 4);
  EXPECT_EQ(s.insetRight, 5);
  EXPECT_EQ(s.insetBottom, 6);
  EXPECT_EQ(s.childPadding, 1);
  EXPECT_TRUE(s.vscrollbar);
  // A malformed pair ends the string, keeping what came before; absurd
  // sizes are bounded.
  s = vt::ParseDropBoxStyle(
      "bordersize=\"99999\" inset=\"-4,0,0,0\" bkcolor=FF000000 bordercolor=\"FF00FF00\"");
  EXPECT_EQ(s.borderSize, 100);
  EXPECT_EQ(s.insetLeft, 0);
  EXPECT_EQ(s.bkColor, 0u);
  EXPECT_EQ(s.borderColor, 0u);
  s = vt::ParseDropBoxStyle(nullptr);
  EXPECT_EQ(s.borderSize, 0);
}

TEST(DropBoxStyle, BackgroundImageGradientAndSidewaysScroll) {
  vt::DropBoxStyle s = vt::ParseDropBoxStyle(
      "bkcolor=\"FF112233\" bkcolor2=\"FF445566\" bkimage=\"file='img\\box.png' corner='2,2,2,2'\" "
      "hscrollbar=\"true\" padding=\"9,9,9,9\" hscrollbarstyle=\"height=&quot;4&quot;\"");
  EXPECT_EQ(s.bkColor, 0xFF112233u);
  EXPECT_EQ(s.bkColor2, 0xFF445566u);
  EXPECT_STREQ(s.bkImage.GetData(), "file='img\\box.png' corner='2,2,2,2'");
  EXPECT_TRUE(s.hscrollbar);
  EXPECT_FALSE(s.vscrollbar);
  EXPECT_EQ(s.insetLeft, 0);  // "padding" is not an inset: ignored
}

TEST(DropBoxStyle, SidewaysScrollIsHeldInTheOverflow) {
  const struct {
    int scroll, content, view, expected;
  } cases[] = {{30, 200, 150, 30}, {80, 200, 150, 50}, {-5, 200, 150, 0}, {10, 100, 150, 0}, {0, 0, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(vt::ClampSideways(c.scroll, c.content, c.view), c.expected) << c.scroll << " " << c.content;
}

TEST(DropBoxStyle, HeightIsFrameAndRowsCappedByTheBox) {
  vt::DropBoxStyle s =
      vt::ParseDropBoxStyle("bordercolor=\"FF000000\" bordersize=\"2\" inset=\"3,3,3,3\" childpadding=\"2\"");
  EXPECT_EQ(vt::DropBoxHeight(s, 3, 20, 0), 4 + 6 + 60 + 4);
  EXPECT_EQ(vt::DropBoxHeight(s, 3, 20, 50), 50);
  EXPECT_EQ(vt::DropBoxHeight(s, 0, 20, 0), 4 + 6 + 20);  // an empty box keeps one row's room
  s.borderColor = 0;                                      // a border without colour takes no room
  EXPECT_EQ(vt::DropBoxHeight(s, 1, 20, 0), 6 + 20);
}

TEST(DropBoxStyle, RowsScrollAndHitTest) {
  vt::DropBoxRows rows;
  rows.count = 6;
  rows.rowHeight = 20;
  rows.childPadding = 2;
  rows.top = 5;
  rows.bottom = 55;  // 50 shown of 6 * 20 + 5 * 2 = 130
  EXPECT_EQ(rows.ContentHeight(), 130);
  EXPECT_EQ(rows.MaxScroll(), 80);
  EXPECT_EQ(rows.ClampScroll(-5), 0);
  EXPECT_EQ(rows.ClampScroll(500), 80);
  EXPECT_EQ(rows.RowTop(2, 0), 49);
  EXPECT_EQ(rows.RowTop(2, 30), 19);
  const struct {
    int y, scroll, row;
  } cases[] = {{5, 0, 0},   {24, 0, 0}, {25, 0, -1}, {26, 0, -1}, {27, 0, 1}, {4, 0, -1},
               {55, 0, -1}, {5, 80, 3}, {54, 80, 5}, {30, 22, 2}, {5, 22, 1}};
  for (const auto& c : cases) EXPECT_EQ(rows.RowAt(c.y, c.scroll), c.row) << c.y << " " << c.scroll;
  rows.count = 0;
  EXPECT_EQ(rows.MaxScroll(), 0);
  EXPECT_EQ(rows.RowAt(10, 0), -1);
}

}  // namespace
