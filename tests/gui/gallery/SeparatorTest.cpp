// The gallery's separator window: layouts that the mouse resizes by their
// separator band. A horizontal layout on the left with a band along its right
// edge that follows the pointer ("sepimm"), a horizontal layout on the
// right with a band along its left edge (negative "sepwidth") that resizes
// on release, and inside the left one a vertical layout with a band along
// its bottom ("sepheight"). Picture: vocabulary-separator.png.
#include <gtest/gtest.h>

#include "tests/support/SkinTestKit.h"
#include "ui/Core/DpiScale.h"
#include "ui/Core/UIManager.h"
#include "ui/layouts/ContainerUI.h"

namespace {

const char kSeparatorLayout[] = R"SEP(<?xml version="1.0" encoding="UTF-8"?>
<Window size="400,200">
  <Font name="SimSun" size="12" default="true"/>
  <HorizontalLayout name="row" bkcolor="FFFFFFFF">
    <HorizontalLayout name="left" width="120" sepwidth="6" sepimm="true" bkcolor="FFE8EEF4">
      <VerticalLayout name="column">
        <VerticalLayout name="top" height="80" sepheight="5" bkcolor="FFCCE0FF">
          <Label name="topText" text="拖动下边改变高度" textpadding="6,0,6,0"/>
        </VerticalLayout>
        <Control name="rest" bkcolor="FFF8F8F8"/>
      </VerticalLayout>
    </HorizontalLayout>
    <Label name="middle" text="拖动两侧的分隔带" align="center"/>
    <HorizontalLayout name="right" width="100" sepwidth="-6" bkcolor="FFFFF0E0"/>
  </HorizontalLayout>
</Window>)SEP";

class Separator : public skintest::WindowTest {
 protected:
  void SetUp() override {
    skintest::WindowConfig config;
    config.className = "SeparatorWnd";
    config.skinFile = kSeparatorLayout;  // layout text, parsed as given
    Open(config);
  }
  RECT Pos(const char* name) { return window_->Find(name)->GetPos(); }
  int Width(const char* name) { return Pos(name).right - Pos(name).left; }
  int Height(const char* name) { return Pos(name).bottom - Pos(name).top; }
  void Repaint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    skintest::Pump(30);
  }
  void Move(int x, int y) {
    SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    skintest::Pump(20);
  }
};

// The band is the layout's own: a press on it reaches the layout, not the
// child under it; elsewhere the child is hit.
TEST_F(Separator, TheBandIsHitBeforeTheChildren) {
  RECT top = Pos("top");
  CUIManager& m = window_->GetManager();
  EXPECT_EQ(m.ControlAt({top.left + 20, top.bottom - 2}), window_->Find("top"));
  EXPECT_EQ(m.ControlAt({top.left + 20, top.top + 10}), window_->Find("topText"));
  RECT left = Pos("left");
  EXPECT_EQ(m.ControlAt({left.right - 3, 150}), window_->Find("left"));
  EXPECT_TRUE(window_->SaveScreenshot("vocabulary-separator.png"));
}

// "sepimm": the width follows the pointer while it moves; the layout after
// it gives way, the one with a fixed width keeps it.
TEST_F(Separator, ImmediateBandFollowsThePointer) {
  RECT left = Pos("left");
  int y = 150;
  skintest::Press(hwnd_, left.right - 3, y);
  Move(left.right - 3 + 30, y);
  EXPECT_EQ(Width("left"), 150);
  EXPECT_EQ(Pos("middle").left, 150);
  skintest::Release(hwnd_, left.right - 3 + 40, y);
  skintest::Pump(20);
  EXPECT_EQ(Width("left"), 160);
  EXPECT_EQ(Width("right"), 100);
  EXPECT_EQ(Width("middle"), 400 - 160 - 100);
  // Never narrower than the band itself.
  skintest::Press(hwnd_, Pos("left").right - 3, y);
  skintest::Release(hwnd_, -300, y);
  skintest::Pump(20);
  EXPECT_EQ(Width("left"), 6);
}

// A band on the leading edge (negative "sepwidth") without "sepimm": while
// dragging, a grey band shows where the edge will go and the size stays;
// the release resizes.
TEST_F(Separator, DeferredBandShowsItsTrackThenResizes) {
  RECT right = Pos("right");
  int y = 100;
  skintest::Press(hwnd_, right.left + 3, y);
  Move(right.left + 3 - 50, y);
  EXPECT_EQ(Width("right"), 100);
  Repaint();
  // The track: 6 pixels of translucent grey over the white middle.
  uint32_t track = window_->Pixel(right.left - 50 + 3, 20);
  EXPECT_NE(track, 0xFFFFFFu);
  EXPECT_LT((track >> 16) & 0xFF, 0xC0u);
  EXPECT_EQ(window_->Pixel(right.left - 50 - 3, 20), 0xFFFFFFu);
  skintest::Release(hwnd_, right.left + 3 - 50, y);
  skintest::Pump(20);
  EXPECT_EQ(Width("right"), 150);
  EXPECT_EQ(Pos("right").right, 400);
  Repaint();
  EXPECT_EQ(window_->Pixel(right.left - 50 + 3, 20), 0xFFF0E0u);  // the layout's own colour now
}

// "sepheight" resizes a vertical layout's height from its bottom edge; the
// sizes the user chose are kept through a change of DPI, and the bands
// scale.
TEST_F(Separator, HeightBandAndTheSizesKeptAcrossDpi) {
  RECT top = Pos("top");
  skintest::Press(hwnd_, top.left + 20, top.bottom - 2);
  Move(top.left + 20, top.bottom + 18);
  EXPECT_EQ(Height("top"), 80);  // not immediate
  skintest::Release(hwnd_, top.left + 20, top.bottom + 18);
  skintest::Pump(20);
  EXPECT_EQ(Height("top"), 100);
  RECT left = Pos("left");
  skintest::Press(hwnd_, left.right - 3, 150);
  skintest::Release(hwnd_, left.right + 17, 150);
  skintest::Pump(20);
  ASSERT_EQ(Width("left"), 140);

  const struct { int dpi, left, top, band; } cases[] = {{144, 210, 150, 9}, {96, 140, 100, 6}};
  for (const auto& c : cases) {
    RECT w;
    GetWindowRect(hwnd_, &w);
    vt::DpiScale scale(c.dpi);
    RECT suggested = {w.left, w.top, w.left + scale.Scale(400), w.top + scale.Scale(200)};
    SendMessageA(hwnd_, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&suggested));
    skintest::Pump(50);
    EXPECT_EQ(Width("left"), c.left) << c.dpi;
    EXPECT_EQ(Height("top"), c.top) << c.dpi;
    EXPECT_EQ(Find<CContainerUI>("left", "Container")->GetSeparator(), c.band) << c.dpi;
  }
}

}  // namespace
