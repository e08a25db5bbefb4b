// Control timers with their native ids, animated backgrounds, and the
// pixels the paint cycle leaves in the off-screen buffer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/gui/manager/ManagerSkin.h"

namespace {

using skintest::TestWindow;

class ManagerWindow : public skintest::WindowTest {
 protected:
  void Open(const char* layout) {
    managertest::RegisterSkin();
    WindowTest::Open(managertest::Layout(layout));
  }
  int TimerNotes(WPARAM id) {
    int n = 0;
    for (const auto& r : window_->notes) n += r.type == "timer" && r.wParam == id;
    return n;
  }
  // Delivers a native timer message as the system would.
  void Fire(UINT nativeId) {
    PostMessageA(hwnd_, WM_TIMER, nativeId, 0);
    skintest::Pump(20);
  }
};

TEST_F(ManagerWindow, TimersUseNativeIdsFrom17AndWrapAt255) {
  Open("input.xml");
  CUIManager& m = window_->GetManager();
  CControlUI* dup = window_->Find("dup");
  CControlUI* menu = window_->Find("menuctl");
  ASSERT_TRUE(m.StartTimer(dup, 1, 30));
  EXPECT_TRUE(skintest::PumpUntil([&] { return TimerNotes(1) > 0; }, 2000));  // a real tick
  EXPECT_FALSE(m.StartTimer(dup, 1, 30));                                      // already running
  ASSERT_TRUE(m.StopTimer(dup, 1));
  EXPECT_FALSE(m.StopTimer(dup, 1));  // already stopped
  EXPECT_FALSE(m.StopTimer(dup, 2));  // never started
  window_->notes.clear();
  Fire(17);
  EXPECT_EQ(TimerNotes(1), 0);  // stopped records take no ticks
  ASSERT_TRUE(m.StartTimer(dup, 1, 100000));  // revived under its native id
  Fire(17);
  EXPECT_EQ(TimerNotes(1), 1);
  // Timers 2 … 239 of this manager: the 239th gets native id 0.
  for (UINT id = 100; id < 100 + 238; ++id) ASSERT_TRUE(m.StartTimer(menu, id, 100000)) << id;
  window_->notes.clear();
  Fire(0);
  EXPECT_EQ(TimerNotes(337), 1);
  Fire(18);
  EXPECT_EQ(TimerNotes(100), 1);
  Fire(300);  // no record: left alone
  EXPECT_EQ(window_->Count("timer"), 2);
  // Releasing a control removes its timers.
  IContainerUI* root = static_cast<IContainerUI*>(m.GetRoot()->GetInterface("IContainer"));
  ASSERT_TRUE(root->RemoveChild(dup));
  window_->notes.clear();
  Fire(17);
  EXPECT_EQ(window_->Count("timer"), 0);
}

bool Near(uint32_t got, uint32_t want, int tolerance = 3) {
  for (int shift = 0; shift < 24; shift += 8) {
    int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
    if (abs(a - b) > tolerance) return false;
  }
  return true;
}

TEST_F(ManagerWindow, PaintsColoursBordersImagesAndClipping) {
  Open("paint.xml");
  const struct {
    int x, y;
    uint32_t rgb;
    const char* what;
  } cases[] = {
      {25, 25, 0x112233, "solid fill"},
      {75, 25, 0x808080, "half-transparent white over black"},
      {105, 1, 0xFD0002, "gradient top"},
      {105, 98, 0x0200FD, "gradient bottom"},
      {120, 25, 0x00FF00, "border, outer pixel"},
      {121, 25, 0x00FF00, "border, second pixel"},
      {145, 25, 0xFFFFFF, "inside the border"},
      {200, 49, 0x0000FF, "bottom border line"},
      {200, 48, 0x0000FF, "bottom border line, 2 px"},
      {200, 47, 0xFFFFFF, "above the bottom border"},
      {241, 1, 0x000000, "rounded corner clips the child"},
      {270, 30, 0xFF00FF, "child inside the rounded container"},
      {1, 61, 0x0000FF, "nine-part corner"},
      {30, 61, 0x0000FF, "nine-part top edge"},
      {30, 80, 0x00FF00, "nine-part centre"},
      {58, 98, 0x0000FF, "nine-part bottom-right"},
      {90, 80, 0x00FF00, "bare name with '\\' and capitals"},
      {130, 70, 0x800000, "fade 128 over black"},
      {150, 70, 0x808080, "premultiplied half alpha"},
      {165, 70, 0x00FFFF, "masked pixel shows the background"},
      {175, 70, 0xFFFFFF, "unmasked pixel"},
      {190, 70, 0x00FF00, "source part"},
      {215, 75, 0xFF0000, "dest inside the control"},
      {205, 65, 0x000000, "outside dest"},
      {310, 70, 0xFF0000, "first GIF frame"},
      {0, 112, 0xFF0000, "tiled piece: left frame"},
      {1, 112, 0x00FF00, "tiled centre, first tile"},
      {4, 112, 0x00FF00, "tiled centre, second tile"},
      {5, 112, 0x0000FF, "tiled centre, second tile"},
      {22, 112, 0xFF0000, "tiled piece: right frame"},
      {45, 125, 0x00FFFF, "hole: the centre is not drawn"},
      {31, 111, 0x0000FF, "hole: the frame is"},
  };
  for (const auto& c : cases) EXPECT_TRUE(Near(window_->Pixel(c.x, c.y), c.rgb)) << c.what << ": " << std::hex << window_->Pixel(c.x, c.y);
  EXPECT_TRUE(window_->SaveScreenshot("manager-paint.png"));
  // A missing image is cleared after its first failed paint.
  EXPECT_TRUE(window_->Find("missing")->GetBkImage().IsEmpty());
  EXPECT_FALSE(window_->Find("nine")->GetBkImage().IsEmpty());
}

TEST_F(ManagerWindow, GifBackgroundAnimatesOnTimer8765) {
  Open("paint.xml");
  CControlUI* gif = window_->Find("gif");
  ASSERT_TRUE(gif->IsAnimating());
  EXPECT_EQ(gif->GetGifFrame(), 0);
  // Frame 0 shows for 100 ms, then frame 1 (blue).
  ASSERT_TRUE(skintest::PumpUntil([&] { return gif->GetGifFrame() == 1; }, 2000));
  skintest::Pump(30);
  EXPECT_TRUE(Near(window_->Pixel(310, 70), 0x0000FF)) << std::hex << window_->Pixel(310, 70);
  EXPECT_GE(TimerNotes(kGifTimerId), 1);  // the control still reports its ticks
  ASSERT_TRUE(skintest::PumpUntil([&] { return gif->GetGifFrame() == 0; }, 2000));  // wraps
  gif->SetBkImage("img/red.png");  // another background stops the animation
  EXPECT_FALSE(gif->IsAnimating());
  EXPECT_FALSE(window_->GetManager().StopTimer(gif, kGifTimerId));
}

}  // namespace

namespace {

TEST_F(ManagerWindow, QueuedNotificationsWaitForTheNextMessageAndLoseReleasedSenders) {
  Open("input.xml");
  CUIManager& m = window_->GetManager();
  CControlUI* dup = window_->Find("dup");
  CControlUI* menu = window_->Find("menuctl");
  m.SendNotification(menu, "later", 4, 5, true);
  m.SendNotification(dup, "gone", 0, 0, true);
  EXPECT_EQ(window_->Count("later"), 0);  // not yet
  IContainerUI* root = static_cast<IContainerUI*>(m.GetRoot()->GetInterface("IContainer"));
  ASSERT_TRUE(root->RemoveChild(dup));
  PostMessageA(hwnd_, WM_NULL, 0, 0);
  skintest::Pump(30);
  ASSERT_EQ(window_->Count("later"), 1);
  ASSERT_EQ(window_->Count("gone"), 1);
  for (const auto& r : window_->notes) {
    if (r.type == "later") {
      EXPECT_EQ(r.sender, "menuctl");
      EXPECT_EQ(r.wParam, 4u);
    }
    if (r.type == "gone") {
      EXPECT_EQ(r.sender, "");  // its sender was released meanwhile
    }
  }
  // Controls without a manager send nothing.
  CControlUI orphan;
  m.SendNotification(&orphan, "orphan");
  EXPECT_EQ(window_->Count("orphan"), 0);
}

}  // namespace

namespace {

TEST_F(ManagerWindow, TranslucentRootBlendsOverTheSameBackdropAfterAResize) {
  Open("translucent.xml");
  uint32_t first = window_->Pixel(50, 50);
  ASSERT_NE(first, 0xDEADBEEFu);
  SetWindowPos(hwnd_, nullptr, 0, 0, 260, 120, SWP_NOMOVE | SWP_NOZORDER);
  skintest::Pump(50);
  ASSERT_EQ(window_->GetManager().GetOffscreenSize().cx, 260);
  // Blended over what the window showed at first, not over its own last frame.
  EXPECT_EQ(window_->Pixel(50, 50), first);
}

}  // namespace

namespace {

TEST_F(ManagerWindow, WindowAttributesSizeLimitsOutlineAndOpacity) {
  Open("attributes.xml");
  MINMAXINFO info = {};
  SendMessageA(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 150);
  EXPECT_EQ(info.ptMinTrackSize.y, 80);
  EXPECT_EQ(info.ptMaxTrackSize.x, 400);
  EXPECT_EQ(info.ptMaxTrackSize.y, 300);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetWindowLongA(hwnd_, GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_TRUE(GetLayeredWindowAttributes(hwnd_, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 200);
  // "showdirty": the updated rectangle is outlined in red.
  RECT part = {20, 20, 60, 50};
  InvalidateRect(hwnd_, &part, FALSE);
  skintest::Pump(30);
  EXPECT_EQ(window_->Pixel(20, 30), 0xFF0000u);
  EXPECT_EQ(window_->Pixel(59, 30), 0xFF0000u);
  EXPECT_EQ(window_->Pixel(40, 30), 0x000000u);
}

}  // namespace
