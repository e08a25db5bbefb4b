// Painted pixels of the controls: the dial's needle, state images of
// buttons and options, progress bars, markup colours.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/gui/controls/ControlsSkin.h"
#include "ui/controls/ButtonUI.h"
#include "ui/controls/DialUI.h"
#include "ui/controls/OptionUI.h"

namespace {

using skintest::TestWindow;

bool Near(uint32_t got, uint32_t want, int tolerance = 40) {
  for (int shift = 0; shift < 24; shift += 8) {
    int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
    if (abs(a - b) > tolerance) return false;
  }
  return true;
}

class ControlsPaint : public skintest::WindowTest {
 protected:
  void SetUp() override {
    controlstest::RegisterSkin();
    Open(controlstest::Layout());
    Repaint();
  }
  void Repaint() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    skintest::Pump(30);
  }
  int CountNear(const RECT& rc, uint32_t colour) {
    int n = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
      for (int x = rc.left; x < rc.right; ++x) n += Near(window_->Pixel(x, y), colour, 100);
    return n;
  }
};

// The needle (black) lies where the rotation about the pivot (234, 379)
// puts it: left at 0, up at 500, right at 1000; -5 and 5000 clamp.
TEST_F(ControlsPaint, DialNeedleFollowsTheValue) {
  CDialUI* dial = Find<CDialUI>("dial", "Dial");
  ASSERT_NE(dial, nullptr);
  struct Probe {
    int x, y;
  } left{101, 366}, up{234, 250}, right{367, 365};
  struct Case {
    int value;
    bool left, up, right;
  } cases[] = {{0, true, false, false}, {500, false, true, false}, {1000, false, false, true},
               {-5, true, false, false}, {5000, false, false, true}};
  for (const Case& c : cases) {
    dial->SetValue(c.value);
    Repaint();
    EXPECT_EQ(Near(window_->Pixel(left.x, left.y), 0x000000), c.left) << c.value;
    EXPECT_EQ(Near(window_->Pixel(up.x, up.y), 0x000000), c.up) << c.value;
    EXPECT_EQ(Near(window_->Pixel(right.x, right.y), 0x000000), c.right) << c.value;
    // The band's unrotated place below the needle stays background.
    EXPECT_TRUE(Near(window_->Pixel(150, 390), 0xFFFFFF)) << c.value;
  }
}

TEST_F(ControlsPaint, DialLeavesTheDeviceContextUnrotated) {
  CDialUI* dial = Find<CDialUI>("dial", "Dial");
  ASSERT_NE(dial, nullptr);
  dial->SetValue(500);
  HDC screen = GetDC(hwnd_);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 900, 550);
  HGDIOBJ old = SelectObject(dc, bmp);
  RECT all = {0, 0, 900, 550};
  dial->DoPaint(dc, all);
  EXPECT_EQ(GetGraphicsMode(dc), GM_COMPATIBLE);
  XFORM xf = {};
  ASSERT_TRUE(GetWorldTransform(dc, &xf));
  EXPECT_EQ(xf.eM11, 1.0f);
  EXPECT_EQ(xf.eM12, 0.0f);
  EXPECT_EQ(xf.eDx, 0.0f);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(hwnd_, screen);
  // A needle that cannot be drawn is dropped; the face still is.
  dial->SetForeImage("img\\none.png");
  Repaint();
  EXPECT_TRUE(dial->GetForeImage().IsEmpty());
  EXPECT_TRUE(Near(window_->Pixel(234, 250), 0xFFFFFF));
}

TEST_F(ControlsPaint, ButtonAndOptionStateImages) {
  EXPECT_TRUE(Near(window_->Pixel(520, 20), 0x0000FF, 3));  // disabled: its disabled image
  // A hot button whose hot image is missing draws its normal image and its fore image.
  CButtonUI* nohot = Find<CButtonUI>("nohot", "Button");
  ASSERT_NE(nohot, nullptr);
  skintest::Press(hwnd_, 580, 25);  // makes it hot and pressed…
  skintest::Release(hwnd_, 700, 540);  // …then released outside: hot no more, no click
  PostMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(580, 25));
  skintest::Pump(30);
  Repaint();
  EXPECT_TRUE(nohot->IsHot());
  EXPECT_TRUE(Near(window_->Pixel(580, 25), 0x00FF00, 3));
  EXPECT_TRUE(Near(window_->Pixel(552, 12), 0xFF0000, 3));
  EXPECT_EQ(window_->Count("click"), 0);
  // A selected option shows its selected image, the other its normal one.
  EXPECT_TRUE(Near(window_->Pixel(520, 50), 0xFF0000, 3));
  EXPECT_TRUE(Near(window_->Pixel(570, 50), 0x00FF00, 3));
  // Pressed, an option still shows no pushed image.
  skintest::Press(hwnd_, 570, 50);
  Repaint();
  EXPECT_TRUE(Near(window_->Pixel(570, 50), 0x00FF00, 3));
  skintest::Release(hwnd_, 570, 50);
  Repaint();
  EXPECT_TRUE(Near(window_->Pixel(570, 50), 0xFF0000, 3));
  EXPECT_TRUE(Near(window_->Pixel(520, 50), 0x00FF00, 3));
}

TEST_F(ControlsPaint, ProgressBars) {
  // min 0 max 50 value 70, cropped: full.
  EXPECT_TRUE(Near(window_->Pixel(501, 77), 0xFF0000, 3));
  EXPECT_TRUE(Near(window_->Pixel(648, 77), 0xFF0000, 3));
  // value -3: empty.
  EXPECT_TRUE(Near(window_->Pixel(501, 97), 0xFFFFFF, 3));
}

TEST_F(ControlsPaint, MarkupColourInALabel) {
  EXPECT_GT(CountNear({500, 110, 700, 130}, 0xFF0000), 10);
  EXPECT_EQ(CountNear({500, 110, 700, 130}, 0x000000), 0);  // nothing in the default colour
}

// Fonts made for tags ("<a>" underlines font 1) join the manager's list
// once and are found again by their properties on later paints.
TEST_F(ControlsPaint, FontsMadeByTagsAreKept) {
  CUIManager& m = window_->GetManager();
  int count = m.GetFontCount();
  EXPECT_GT(count, 2);  // the layout's two and at least the underlined one
  bool underlined = false;
  for (int i = 0; i < count; ++i) underlined |= m.GetFontInfo(i)->underline && m.GetFontInfo(i)->size == 16;
  EXPECT_TRUE(underlined);
  Repaint();
  Repaint();
  EXPECT_EQ(m.GetFontCount(), count);
}

}  // namespace
