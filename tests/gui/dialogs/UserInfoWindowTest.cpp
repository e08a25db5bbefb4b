// The user-information window under Xvfb: acceptance by atof, the hint,
// the fields kept from the last save, and the keys (Escape cancels).
#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/UIUserInfo_win.h"
#include "app/dialogs/UISetting_win.h"
#include "app/mainframe/UIFrame_win.h"
#include "tests/gui/dialogs/DialogKit.h"
#include "tests/support/SkinTestKit.h"
#include "ui/controls/ControlUI.h"

using dialogtest::ClickControl;
using dialogtest::Find;
using dialogtest::Text;

namespace {

class UserInfoWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!dialogtest::ChildScenario().empty()) return;
    dialogtest::SetUpToolkit();
    // As in the product, the skin archive is already loaded by an earlier
    // window when this one opens: it reads "user-info.xml" from there.
    UISetting first(nullptr);
    DestroyWindow(first.GetHandle());
  }
  void SetUp() override {
    if (!dialogtest::ChildScenario().empty()) GTEST_SKIP() << "child run";
  }
};

TEST_F(UserInfoWindow, OpensEmptyWithTheHintHidden) {
  UIUserInfo w(nullptr);
  HWND hwnd = w.GetHandle();
  ASSERT_NE(hwnd, nullptr);
  char text[64] = {};
  GetClassNameA(hwnd, text, sizeof text);
  EXPECT_STREQ(text, "UserInfo");
  GetWindowTextA(hwnd, text, sizeof text);
  EXPECT_STREQ(text, "msgbox");
  RECT rc;
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, 350);
  EXPECT_EQ(rc.bottom - rc.top, 200);
  EXPECT_EQ(Text(w, "EditUserInfo"), "");
  EXPECT_EQ(Text(w, "EditBandWidth"), "");
  EXPECT_EQ(Text(w, "Tips"), "提示:请在线路带宽中填写数字");
  EXPECT_FALSE(Find(w, "Tips")->IsVisible());
  DestroyWindow(hwnd);
}

TEST_F(UserInfoWindow, SaveAcceptsOnlyABandwidthAboveZero) {
  struct Case {
    const char* bandwidth;
    bool accepted;
  } cases[] = {{"100", true},  {"100M", true}, {" 20", true}, {"0.5", true}, {"1e2", true},
               {"abc", false}, {"0", false},   {"-5", false}, {"", false},   {"M100", false}};
  for (const Case& c : cases) {
    UIUserInfo w(nullptr);
    HWND hwnd = w.GetHandle();
    Find(w, "EditUserInfo")->SetText("测试 A&B 公司");
    Find(w, "EditBandWidth")->SetText(c.bandwidth);
    ClickControl(w, "ButtonUISave");
    EXPECT_STREQ(w.lineBandwidth.GetData(), c.bandwidth);
    EXPECT_STREQ(w.userInfo.GetData(), "测试 A&B 公司");
    if (c.accepted) {
      EXPECT_EQ(dialogtest::RunModalBounded(w), 1u) << c.bandwidth;
      EXPECT_FALSE(IsWindow(hwnd)) << c.bandwidth;
      EXPECT_FALSE(Find(w, "Tips") && Find(w, "Tips")->IsVisible()) << c.bandwidth;
    } else {
      skintest::Pump(100);
      ASSERT_TRUE(IsWindow(hwnd)) << c.bandwidth;
      EXPECT_TRUE(Find(w, "Tips")->IsVisible()) << c.bandwidth;
      EXPECT_TRUE(Find(w, "EditUserInfo")->IsFocused()) << c.bandwidth;
      DestroyWindow(hwnd);
    }
  }
}

TEST_F(UserInfoWindow, HintStaysAndFieldsFollowTheLastSave) {
  UIUserInfo w(nullptr);
  Find(w, "EditUserInfo")->SetText("first");
  Find(w, "EditBandWidth")->SetText("abc");
  ClickControl(w, "ButtonUISave");
  EXPECT_STREQ(w.lineBandwidth.GetData(), "abc");
  Find(w, "EditBandWidth")->SetText("50");
  skintest::Pump(100);
  EXPECT_TRUE(Find(w, "Tips")->IsVisible());  // still shown while the user corrects
  Find(w, "EditUserInfo")->SetText("");
  ClickControl(w, "ButtonUISave");
  EXPECT_EQ(dialogtest::RunModalBounded(w), 1u);  // an empty user information is accepted
  EXPECT_STREQ(w.lineBandwidth.GetData(), "50");
  EXPECT_STREQ(w.userInfo.GetData(), "");
}

TEST_F(UserInfoWindow, EscapeCancelAndAltF4GiveZeroReturnDoesNothing) {
  struct Case {
    const char* name;
    void (*act)(UIUserInfo&);
  } cases[] = {
      {"Escape", [](UIUserInfo& w) { skintest::PostKey(w.GetHandle(), VK_ESCAPE); }},
      {"ButtonUICancel", [](UIUserInfo& w) { ClickControl(w, "ButtonUICancel"); }},
      {"Alt+F4", [](UIUserInfo& w) { PostMessageA(w.GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Case& c : cases) {
    UIUserInfo w(nullptr);
    // A valid input that was never saved must not count as accepted.
    Find(w, "EditUserInfo")->SetText("typed");
    Find(w, "EditBandWidth")->SetText("100");
    skintest::PostKey(w.GetHandle(), VK_RETURN);
    skintest::Pump(150);
    ASSERT_TRUE(IsWindow(w.GetHandle())) << c.name << ": Return closed the window";
    c.act(w);
    EXPECT_EQ(dialogtest::RunModalBounded(w), 0u) << c.name;
    EXPECT_FALSE(IsWindow(w.GetHandle())) << c.name;
    EXPECT_STREQ(w.lineBandwidth.GetData(), "") << c.name;
  }
}

TEST_F(UserInfoWindow, RunUserInfoWindowHandsBackTheTextsOnlyWhenAccepted) {
  struct Driver {
    static void CALLBACK Save(HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      HWND w = FindWindowA("UserInfo", nullptr);
      if (!w) return;
      auto* self = dynamic_cast<WindowImplBase*>(reinterpret_cast<CWindowWnd*>(GetWindowLongPtrA(w, GWLP_USERDATA)));
      if (!self) return;
      Find(*self, "EditUserInfo")->SetText("Acme 大厦 3F");
      Find(*self, "EditBandWidth")->SetText("100M");
      ClickControl(*self, "ButtonUISave");
    }
    static void CALLBACK Escape(HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (HWND w = FindWindowA("UserInfo", nullptr)) skintest::PostKey(w, VK_ESCAPE);
    }
  };
  std::string info = "untouched", bandwidth = "untouched";
  SetTimer(nullptr, 0, 50, Driver::Save);
  UINT_PTR guard = dialogtest::StartOverdueGuard();
  EXPECT_TRUE(RunUserInfoWindow(nullptr, &info, &bandwidth));
  KillTimer(nullptr, guard);
  EXPECT_EQ(info, "Acme 大厦 3F");
  EXPECT_EQ(bandwidth, "100M");

  info = bandwidth = "untouched";
  SetTimer(nullptr, 0, 50, Driver::Escape);
  guard = dialogtest::StartOverdueGuard();
  EXPECT_FALSE(RunUserInfoWindow(nullptr, &info, &bandwidth));
  KillTimer(nullptr, guard);
  EXPECT_EQ(info, "untouched");
  EXPECT_EQ(bandwidth, "untouched");
}

}  // namespace
