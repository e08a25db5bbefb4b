// The manager's input handling on a real window: clicks, focus and Tab,
// default keys, Alt shortcuts, context menus, tooltips, virtual windows.
#include <gtest/gtest.h>

#include "tests/gui/manager/ManagerSkin.h"

namespace {

using skintest::TestWindow;

class ManagerInput : public skintest::WindowTest {
 protected:
  void SetUp() override {
    managertest::RegisterSkin();
    Open(managertest::Layout("input.xml"));
  }
  std::string Focused() {
    CControlUI* f = window_->GetManager().GetFocusControl();
    return f ? f->GetName().GetData() : "";
  }
};

TEST_F(ManagerInput, ClickNeedsPressAndReleaseOnTheControl) {
  const struct {
    POINT press;
    POINT outside;  // where the mouse goes in between (-1: nowhere)
    POINT release;
    int clicks;
  } cases[] = {
      {{20, 20}, {-1, -1}, {25, 25}, 1},    // press and release on "a"
      {{20, 20}, {-1, -1}, {200, 180}, 0},  // released outside
      {{20, 20}, {200, 180}, {30, 30}, 1},  // left and came back before release
      {{200, 180}, {-1, -1}, {20, 20}, 0},  // pressed elsewhere
      {{150, 20}, {-1, -1}, {150, 20}, 0},  // disabled button
  };
  for (const auto& c : cases) {
    window_->notes.clear();
    skintest::Press(hwnd_, c.press.x, c.press.y);
    if (c.outside.x >= 0) SendMessageA(hwnd_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.outside.x, c.outside.y));
    skintest::Release(hwnd_, c.release.x, c.release.y);
    EXPECT_EQ(window_->Count("click"), c.clicks) << c.press.x << "," << c.release.x;
  }
  skintest::Click(hwnd_, 20, 20);
  ASSERT_EQ(window_->Count("click"), 1);
  EXPECT_EQ(window_->notes.back().sender, "a");
  EXPECT_EQ(window_->notes.back().mousePoint.x, 20);
}

TEST_F(ManagerInput, FocusStartsAtFirstTabStopAndTabCycles) {
  EXPECT_EQ(Focused(), "a");
  const char* order[] = {"b", "c", "inpane", "a"};
  for (const char* expected : order) {
    skintest::PostKey(hwnd_, VK_TAB);
    skintest::Pump(30);
    EXPECT_EQ(Focused(), expected);
  }
  ASSERT_GE(window_->notes.size(), 2u);
  EXPECT_EQ(window_->notes[0].type, "killfocus");
  EXPECT_EQ(window_->notes[0].sender, "a");
  EXPECT_EQ(window_->notes[1].type, "setfocus");
  EXPECT_EQ(window_->notes[1].sender, "b");
  // Shift+Tab goes back.
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  skintest::PostKey(hwnd_, VK_TAB);
  skintest::Pump(30);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(Focused(), "inpane");
  // A press moves the focus too.
  skintest::Click(hwnd_, 80, 20);
  EXPECT_EQ(Focused(), "b");
}

TEST_F(ManagerInput, ReturnAndSpaceClickTheFocusedButton) {
  window_->GetManager().SetFocusControl(window_->Find("b"));
  for (UINT key : {VK_RETURN, VK_SPACE}) {
    window_->notes.clear();
    skintest::PostKey(hwnd_, key);
    skintest::Pump(30);
    ASSERT_EQ(window_->Count("click"), 1) << key;
    EXPECT_EQ(window_->notes.back().sender, "b");
  }
  EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(ManagerInput, AltShortcutFocusesAndActivates) {
  PostMessageA(hwnd_, WM_SYSCHAR, 'k', 1 << 29);
  skintest::Pump(30);
  EXPECT_EQ(Focused(), "b");
  ASSERT_EQ(window_->Count("click"), 1);
  window_->notes.clear();
  PostMessageA(hwnd_, WM_SYSCHAR, 'q', 1 << 29);  // nobody's shortcut
  skintest::Pump(30);
  EXPECT_EQ(window_->Count("click"), 0);
}

TEST_F(ManagerInput, RightClickSendsMenuFromControlsThatAskForIt) {
  SendMessageA(hwnd_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(80, 60));
  SendMessageA(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(5, 6));
  ASSERT_EQ(window_->Count("menu"), 1);
  EXPECT_EQ(window_->notes.back().sender, "menuctl");
  EXPECT_EQ(window_->notes.back().lParam, MAKELPARAM(5, 6));
  SendMessageA(hwnd_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(150, 60));  // "dup": no menu
  SendMessageA(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), MAKELPARAM(5, 6));
  EXPECT_EQ(window_->Count("menu"), 1);
}

TEST_F(ManagerInput, HoverShowsTooltipWithLineBreaks) {
  SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 60));
  SendMessageA(hwnd_, WM_MOUSEHOVER, 0, MAKELPARAM(20, 60));
  HWND tip = FindWindowA(TOOLTIPS_CLASSA, nullptr);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(IsWindowVisible(tip));
  char text[64] = {};
  TOOLINFOA ti = {};
  ti.cbSize = TTTOOLINFOA_V2_SIZE;
  ti.hwnd = hwnd_;
  ti.uId = 1;
  ti.lpszText = text;
  SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&ti));
  EXPECT_STREQ(text, "first\r\nsecond");
  SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(200, 180));  // leaving the control hides it
  EXPECT_FALSE(IsWindowVisible(tip));
}

class PanePump : public CNotifyPump {
 public:
  void OnClick(UINotification& msg) { clicked = msg.sender ? msg.sender->GetName().GetData() : "?"; }
  std::string clicked;
  static const NotifyMapEntry kEntries[];
  static const NotifyMap kMap;

 protected:
  const NotifyMap* GetNotifyMap() const override { return &kMap; }
};
const CNotifyPump::NotifyMapEntry PanePump::kEntries[] = {CNotifyPump::OnRecord("click", "pane", &PanePump::OnClick),
                                                          CNotifyPump::End()};
const CNotifyPump::NotifyMap PanePump::kMap = {nullptr, PanePump::kEntries};

TEST_F(ManagerInput, VirtualWindowNamesReachTheirPump) {
  PanePump pane;
  ASSERT_TRUE(window_->AddVirtualWnd("PANE", &pane));
  skintest::Click(hwnd_, 20, 110);
  ASSERT_EQ(window_->Count("click"), 1);
  EXPECT_EQ(window_->notes.back().virtualWindow, "pane");
  EXPECT_EQ(pane.clicked, "inpane");
  window_->RemoveVirtualWnd("pane");
}

TEST_F(ManagerInput, NameMapKeepsTheFirstAndForgetsReleasedControls) {
  CControlUI* dup = window_->Find("dup");
  ASSERT_NE(dup, nullptr);
  EXPECT_STREQ(dup->GetUserData(), "first");
  EXPECT_EQ(window_->Find("hidden")->IsVisible(), false);
  IContainerUI* root = static_cast<IContainerUI*>(window_->GetManager().GetRoot()->GetInterface("IContainer"));
  ASSERT_TRUE(root->RemoveChild(dup));
  EXPECT_EQ(window_->Find("dup"), nullptr);
  EXPECT_EQ(window_->Find("Dup"), nullptr);  // names are case-sensitive
}

TEST_F(ManagerInput, WindowInitArrivesOnceBeforeTheFirstFrame) {
  TestWindow fresh(managertest::Layout("input.xml"));
  ASSERT_NE(fresh.Create(), nullptr);
  skintest::Pump(50);
  InvalidateRect(fresh.GetHandle(), nullptr, FALSE);
  SendMessageA(fresh.GetHandle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
  skintest::Pump(50);
  EXPECT_EQ(fresh.Count("windowinit"), 1);
  EXPECT_FALSE(fresh.firstFrameBeforeInit);
  EXPECT_EQ(fresh.notes.front().type, "windowinit");
  DestroyWindow(fresh.GetHandle());
}

}  // namespace

namespace {

skintest::CTestButtonUI* Button(TestWindow* w, const char* name) {
  return static_cast<skintest::CTestButtonUI*>(w->Find(name));
}

TEST_F(ManagerInput, MouseEventsEnterHoverLeaveAndWheelReachTheControlUnderTheMouse) {
  skintest::CTestButtonUI* a = Button(window_, "a");
  skintest::CTestButtonUI* b = Button(window_, "b");
  a->events.clear();
  SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  SendMessageA(hwnd_, WM_MOUSEHOVER, 0, MAKELPARAM(20, 20));
  SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(80, 20));
  EXPECT_EQ(a->CountEvents(UIEventKind::MouseEnter), 1);
  EXPECT_EQ(a->CountEvents(UIEventKind::MouseHover), 1);
  EXPECT_EQ(a->CountEvents(UIEventKind::MouseLeave), 1);
  EXPECT_EQ(b->CountEvents(UIEventKind::MouseEnter), 1);
  POINT screen = {80, 20};
  ClientToScreen(hwnd_, &screen);
  SendMessageA(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  SendMessageA(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  ASSERT_EQ(b->CountEvents(UIEventKind::ScrollWheel), 2);
  std::vector<WPARAM> wheel;
  for (const UIEvent& e : b->events) {
    if (e.kind == UIEventKind::ScrollWheel) wheel.push_back(LOWORD(e.wParam));
  }
  EXPECT_EQ(wheel[0], static_cast<WPARAM>(SB_LINEDOWN));
  EXPECT_EQ(wheel[1], static_cast<WPARAM>(SB_LINEUP));
  // Closing: the hover control gets a leave, the focus is cleared.
  window_->GetManager().SetFocusControl(b);
  SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_GE(b->CountEvents(UIEventKind::MouseLeave), 1);
  EXPECT_EQ(window_->GetManager().GetFocusControl(), nullptr);
}

TEST_F(ManagerInput, MessageLoopOffersMessagesToPreTranslateUntilQuit) {
  int before = CUIManager::ManagerCount();
  EXPECT_GE(before, 1);
  skintest::PostKey(hwnd_, VK_TAB);  // only PreTranslate moves the focus on Tab
  PostQuitMessage(0);
  CUIManager::RunMessageLoop();
  EXPECT_EQ(Focused(), "b");
  DestroyWindow(hwnd_);
  delete window_;
  window_ = nullptr;
  EXPECT_EQ(CUIManager::ManagerCount(), before - 1);  // the process-wide list forgets it
}

}  // namespace
