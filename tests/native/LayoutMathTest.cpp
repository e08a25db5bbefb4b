#include "ui/layouts/LayoutMath.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using vt::LayoutChild;
using vt::SkinRect;
using vt::SkinSize;

// Children with fixed desired sizes (0 = adjustable along the axis).
class FixedSizes : public vt::ILayoutSizes {
 public:
  explicit FixedSizes(std::vector<SkinSize> sizes) : sizes_(std::move(sizes)) {}
  SkinSize Desired(int index, SkinSize) override { return sizes_[static_cast<size_t>(index)]; }

 private:
  std::vector<SkinSize> sizes_;
};

struct SplitCase {
  const char* name;
  std::vector<int> heights;  // desired heights, 0 = share
  int space;
  int childPadding;
  std::vector<int> expected;
};

TEST(LayoutMath, VerticalSplitTable) {
  const SplitCase cases[] = {
      {"header, content, version bands of the main window", {111, 0, 30}, 550, 0, {111, 409, 30}},
      {"two sharers of 101 pixels", {0, 0}, 101, 0, {50, 51}},
      {"three sharers and a gap", {0, 20, 0, 0}, 100, 5, {21, 20, 21, 23}},
      {"fixed children larger than the space", {300, 0, 400}, 550, 0, {300, 0, 400}},
      {"nothing to share", {10, 20}, 100, 0, {10, 20}},
  };
  for (const SplitCase& c : cases) {
    std::vector<SkinSize> sizes;
    for (int h : c.heights) sizes.push_back({0, h});
    FixedSizes fs(sizes);
    std::vector<LayoutChild> children(c.heights.size());
    std::vector<SkinRect> out;
    vt::LayoutVertical({0, 0, 900, c.space}, {900, c.space}, 0, c.childPadding, children, fs, out);
    int y = 0;
    for (size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(out[i].Height(), c.expected[i]) << c.name << " child " << i;
      EXPECT_EQ(out[i].top, y) << c.name << " child " << i;
      EXPECT_EQ(out[i].Width(), 900) << c.name;
      y = out[i].bottom + c.childPadding;
    }
  }
}

TEST(LayoutMath, VerticalPaddingMinMaxAndFloating) {
  std::vector<LayoutChild> children(3);
  children[0].padding = {5, 3, 7, 4};
  children[0].fixedWidth = 100;
  children[1].floating = true;
  children[2].maxHeight = 50;
  children[2].minWidth = 400;
  FixedSizes fs({{100, 20}, {1, 1}, {0, 0}});
  std::vector<SkinRect> out;
  int needed = vt::LayoutVertical({10, 20, 310, 220}, {300, 200}, 0, 2, children, fs, out);
  // The bottom includes the bottom padding; the width is the fixed one.
  EXPECT_EQ(out[0], (SkinRect{15, 23, 115, 47}));
  EXPECT_EQ(out[1], SkinRect());  // floating children are not placed by the flow
  // The sharer is limited by its maximum height, its width raised to its minimum.
  EXPECT_EQ(out[2], (SkinRect{10, 49, 410, 99}));
  EXPECT_EQ(needed, 20 + 3 + 4 + 2 + 50);
  // Scrolling shifts everything up.
  vt::LayoutVertical({10, 20, 310, 220}, {300, 200}, 15, 2, children, fs, out);
  EXPECT_EQ(out[0].top, 8);
}

TEST(LayoutMath, MeasuredTextWidthDoesNotSizeAChild) {
  // A text measuring 6 pixels ("<f 4> </f>") in a column: with a fixed
  // width it keeps it, without one it spans the column, never 6 pixels.
  std::vector<LayoutChild> children(2);
  children[0].fixedWidth = 360;
  children[1].padding = {4, 0, 6, 0};
  FixedSizes fs({{6, 180}, {6, 20}});
  std::vector<SkinRect> out;
  vt::LayoutVertical({500, 10, 870, 400}, {370, 390}, 0, 0, children, fs, out);
  EXPECT_EQ(out[0].Width(), 360);
  EXPECT_EQ(out[1].Width(), 370 - 4 - 6);
}

TEST(LayoutMath, HorizontalIsTheVerticalTransposed) {
  std::vector<LayoutChild> children(3);
  children[0].padding = {5, 3, 7, 4};
  children[0].fixedHeight = 20;
  FixedSizes fs({{100, 20}, {0, 0}, {30, 0}});
  std::vector<SkinRect> out;
  int needed = vt::LayoutHorizontal({0, 0, 400, 60}, {400, 60}, 0, 0, children, fs, out);
  // The right edge includes the right padding; the height is the fixed one.
  EXPECT_EQ(out[0], (SkinRect{5, 3, 112, 23}));
  EXPECT_EQ(out[1], (SkinRect{112, 0, 370, 60}));  // the sharer takes the rest, full height
  EXPECT_EQ(out[2], (SkinRect{370, 0, 400, 60}));
  EXPECT_EQ(needed, 400);
}

struct FloatCase {
  const char* name;
  int x, y, w, h;
  SkinRect expected;
};

TEST(LayoutMath, FloatingPlacementTable) {
  const SkinRect parent{100, 50, 1000, 600};
  const FloatCase cases[] = {
      {"pos 12,2 with width 876 and height 396", 12, 2, 876, 396, {112, 52, 988, 448}},
      {"negative x from the right edge", -10, 5, 40, 20, {950, 55, 990, 75}},
      {"negative y from the bottom edge", 0, -8, 10, 10, {100, 582, 110, 592}},
  };
  for (const FloatCase& c : cases) {
    EXPECT_EQ(vt::FloatingRect(parent, c.x, c.y, c.w, c.h, vt::RelativeMove()), c.expected) << c.name;
  }
  vt::RelativeMove rel;
  rel.set = true;
  rel.moveX = 50;
  rel.growY = 100;
  rel.parentSize = {800, 500};  // the parent grew by 100 x 50
  EXPECT_EQ(vt::FloatingRect(parent, 10, 10, 20, 20, rel), (SkinRect{160, 60, 180, 130}));
}

TEST(LayoutMath, TabPage) {
  LayoutChild page;
  page.padding = {1, 2, 3, 4};
  EXPECT_EQ(vt::TabPageRect({0, 0, 100, 100}, page, 0, 0), (SkinRect{1, 2, 97, 96}));
  page.maxWidth = 50;
  EXPECT_EQ(vt::TabPageRect({0, 0, 100, 100}, page, 0, 30), (SkinRect{1, 2, 51, 32}));
}

// The rows of a vertical layout in its scrolled view, as it places them.
class VerticalRows : public vt::IScrolledContent {
 public:
  VerticalRows(const std::vector<LayoutChild>& rows, vt::ILayoutSizes& sizes, std::vector<SkinRect>& out)
      : rows_(rows), sizes_(sizes), out_(out) {}
  SkinSize Place(const SkinRect& view, SkinSize pos, SkinSize range) override {
    needed = vt::FlowVertical(view, pos, range, 0, rows_, sizes_, out_);
    return needed;
  }
  SkinSize needed{0, 0};

 private:
  const std::vector<LayoutChild>& rows_;
  vt::ILayoutSizes& sizes_;
  std::vector<SkinRect>& out_;
};

// A vertical layout with only its vertical bar, 10 wide: the height its
// rows need.
int PlaceRows(const SkinRect& body, vt::ScrollState& bar, const std::vector<LayoutChild>& rows,
              vt::ILayoutSizes& sizes, std::vector<SkinRect>& out) {
  VerticalRows flow(rows, sizes, out);
  vt::LayoutScrolled(body, 10, &bar, 0, nullptr, flow);
  return flow.needed.cy;
}

TEST(LayoutMath, ScrollBarAppearsWithTheEighthRowOfForty) {
  // A list body 300 high, rows of 40, a bar 10 wide.
  const SkinRect body{0, 0, 200, 300};
  vt::ScrollState bar;
  std::vector<LayoutChild> rows;
  std::vector<SkinSize> sizes;
  std::vector<SkinRect> out;
  for (int n = 1; n <= 8; ++n) {
    rows.emplace_back();
    sizes.push_back({0, 40});
    FixedSizes fs(sizes);
    int needed = PlaceRows(body, bar, rows, fs, out);
    EXPECT_EQ(needed, 40 * n);
    EXPECT_EQ(bar.visible, n == 8) << n << " rows";
    EXPECT_EQ(out.back().Width(), n == 8 ? 190 : 200) << n << " rows";
  }
  EXPECT_EQ(bar.range, 20);
  EXPECT_EQ(bar.pos, 0);
  // Scrolled to the end, then rows removed: the position follows the range,
  // and the bar goes when everything fits again.
  bar.pos = 20;
  rows.pop_back();
  sizes.pop_back();
  sizes.push_back({0, 30});
  rows.emplace_back();
  FixedSizes fs(sizes);
  PlaceRows(body, bar, rows, fs, out);
  EXPECT_TRUE(bar.visible);
  EXPECT_EQ(bar.range, 10);
  EXPECT_EQ(out[0].top, -10);
  sizes.resize(2);
  rows.resize(2);
  FixedSizes two(sizes);
  PlaceRows(body, bar, rows, two, out);
  EXPECT_FALSE(bar.visible);
  EXPECT_EQ(out[0], (SkinRect{0, 0, 200, 40}));
}

// Content of a fixed size, recording the view and shift it was placed with.
class Block : public vt::IScrolledContent {
 public:
  explicit Block(SkinSize size) : size_(size) {}
  SkinSize Place(const SkinRect& view, SkinSize pos, SkinSize range) override {
    lastView = view;
    lastPos = pos;
    lastRange = range;
    return size_;
  }
  SkinSize size_;
  SkinRect lastView;
  SkinSize lastPos, lastRange;
};

TEST(LayoutMath, ScrolledContentShowsTheBarsItNeeds) {
  const SkinRect area{0, 0, 300, 200};
  const struct {
    const char* name;
    SkinSize content;
    bool vertical, horizontal;  // the bars that show
    SkinRect view;
  } cases[] = {
      {"fits", {300, 200}, false, false, {0, 0, 300, 200}},
      {"too wide: a horizontal bar, the view 10 lower", {500, 150}, false, true, {0, 0, 300, 190}},
      {"too tall: a vertical bar, the view 12 narrower", {250, 400}, true, false, {0, 0, 288, 200}},
      // Fits in height alone, but the horizontal bar takes 10 of it.
      {"too wide and then too tall", {500, 195}, true, true, {0, 0, 288, 190}},
      // Fits in width alone, but the vertical bar takes 12 of it.
      {"too tall and then too wide", {295, 400}, true, true, {0, 0, 288, 190}},
  };
  for (const auto& c : cases) {
    vt::ScrollState v, h;
    Block block(c.content);
    SkinRect view = vt::LayoutScrolled(area, 12, &v, 10, &h, block);
    EXPECT_EQ(v.visible, c.vertical) << c.name;
    EXPECT_EQ(h.visible, c.horizontal) << c.name;
    EXPECT_EQ(view, c.view) << c.name;
    EXPECT_EQ(block.lastView, c.view) << c.name << ": placed last in the final view";
    EXPECT_EQ(h.range, c.horizontal ? c.content.cx - view.Width() : 0) << c.name;
    EXPECT_EQ(v.range, c.vertical ? c.content.cy - view.Height() : 0) << c.name;
  }
}

TEST(LayoutMath, ScrolledContentFollowsThePositions) {
  vt::ScrollState v, h;
  Block block({700, 150});
  vt::LayoutScrolled({0, 0, 300, 200}, 12, &v, 10, &h, block);
  ASSERT_TRUE(h.visible);
  EXPECT_FALSE(v.visible);
  h.pos = 150;
  vt::LayoutScrolled({0, 0, 300, 200}, 12, &v, 10, &h, block);
  EXPECT_EQ(block.lastPos.cx, 150);
  EXPECT_EQ(block.lastPos.cy, 0);
  EXPECT_EQ(block.lastRange.cx, 400);
  EXPECT_EQ(block.lastRange.cy, 0);
  // The content shrinks below the position: the position follows the range.
  block.size_ = {400, 150};
  vt::LayoutScrolled({0, 0, 300, 200}, 12, &v, 10, &h, block);
  EXPECT_EQ(h.range, 100);
  EXPECT_EQ(h.pos, 100);
  EXPECT_EQ(block.lastPos.cx, 100);
  // A container without a vertical bar never shows one.
  block.size_ = {400, 900};
  SkinRect view = vt::LayoutScrolled({0, 0, 300, 200}, 12, nullptr, 10, &h, block);
  EXPECT_EQ(view, (SkinRect{0, 0, 300, 190}));
}

TEST(LayoutMath, CrossExtentTakesFixedOrMinimumSizes) {
  std::vector<LayoutChild> kids(4);
  kids[0].fixedWidth = 120;
  kids[0].padding = {5, 0, 7, 0};
  kids[1].minWidth = 200;  // fills the room, asks for its minimum
  kids[2].fixedWidth = 500;
  kids[2].maxWidth = 100;  // clamped
  kids[3].fixedWidth = 900;
  kids[3].floating = true;  // not in the flow
  EXPECT_EQ(vt::CrossExtent(kids, true, false), 200);
  kids[1].minWidth = 0;
  EXPECT_EQ(vt::CrossExtent(kids, true, false), 120);
  EXPECT_EQ(vt::CrossExtent(kids, true, true), 132);
  EXPECT_EQ(vt::CrossExtent(kids, false, true), 0);
}

TEST(LayoutMath, ListHeaderAndBody) {
  SkinRect header, body;
  vt::ListSplit({10, 10, 300, 310}, true, 18, header, body);  // default font 12 + 6
  EXPECT_EQ(header, (SkinRect{10, 10, 300, 28}));
  EXPECT_EQ(body, (SkinRect{10, 28, 300, 310}));
  vt::ListSplit({10, 10, 300, 310}, false, 18, header, body);
  EXPECT_EQ(body, (SkinRect{10, 10, 300, 310}));
}

}  // namespace
