// The settings window under Xvfb: its defaults, every option, user mode
// refused locally, the platform's replies (posted as TestNumberThread posts
// them), the close two seconds after a grant, Return/Escape swallowed,
// Alt+F4, and the two paths that end the process (run in a child process).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/Messages.h"
#include "app/dialogs/AppMessageBox_win.h"
#include "app/dialogs/UISetting_win.h"
#include "app/mainframe/UIFrame_win.h"
#include "tests/gui/dialogs/DialogKit.h"
#include "tests/support/SkinTestKit.h"
#include "ui/controls/ControlUI.h"
#include "ui/controls/OptionUI.h"

using dialogtest::ClickControl;
using dialogtest::Find;
using dialogtest::Text;

namespace {

const char kTipsStart[] = "提示:请设置[测速模式]、[仪表盘刻度]和[登陆模式]，点击<申请测试号>";

class SettingWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!dialogtest::ChildScenario().empty()) GTEST_SKIP() << "child run";
    dialogtest::SetUpToolkit();
    dialogtest::RecordBoxes();
  }
  void TearDown() override { vt::SetMessageBoxHook(nullptr); }
};

bool Selected(UISetting& w, const char* name) {
  auto* option = static_cast<COptionUI*>(Find(w, name)->GetInterface("Option"));
  return option && option->IsSelected();
}

TEST_F(SettingWindow, OpensWithItsDefaults) {
  UISetting w(nullptr);
  HWND hwnd = w.GetHandle();
  ASSERT_NE(hwnd, nullptr);
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  EXPECT_STREQ(name, "SettingUI");
  GetWindowTextA(hwnd, name, sizeof name);
  EXPECT_STREQ(name, "SettingUI");
  EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  RECT rc;
  GetClientRect(hwnd, &rc);
  EXPECT_EQ(rc.right - rc.left, 668);
  EXPECT_EQ(rc.bottom - rc.top, 276);

  EXPECT_EQ(Text(w, "EditUser"), "Orvalen");
  EXPECT_EQ(Text(w, "EditPsw"), "580317");
  EXPECT_EQ(Text(w, "Tips"), kTipsStart);
  EXPECT_EQ(w.bandwidthLevel, 12);
  EXPECT_EQ(w.serverMode, 1);
  EXPECT_EQ(w.staffLogin, 1);
  EXPECT_STREQ(w.testNumber.GetData(), "");
  EXPECT_EQ(w.timerId, 0u);
  for (const char* on : {"serverWWW", "BandWidth100M", "UserValid"}) EXPECT_TRUE(Selected(w, on)) << on;
  for (const char* off : {"serverHost", "BandWidth4M", "BandWidth20M", "BandWidth1000M", "UserAnony"})
    EXPECT_FALSE(Selected(w, off)) << off;
  EXPECT_TRUE(Find(w, "ButtonUIApply")->IsEnabled());
  DestroyWindow(hwnd);
}

TEST_F(SettingWindow, EveryOptionSetsItsField) {
  struct Case {
    std::vector<const char*> clicks;
    int level;
    int mode;
  } cases[] = {
      {{"BandWidth4M"}, 4, 1},
      {{"BandWidth20M"}, 8, 1},
      {{"BandWidth1000M"}, 16, 1},
      {{"BandWidth4M", "BandWidth100M"}, 12, 1},
      {{"serverHost"}, 12, 2},
      {{"serverHost", "serverWWW"}, 12, 1},
      {{"serverWWW", "serverHost"}, 12, 2},
      {{"serverHost", "serverHost", "BandWidth20M", "BandWidth20M"}, 8, 2},
  };
  for (const Case& c : cases) {
    UISetting w(nullptr);
    std::string trail;
    for (const char* click : c.clicks) {
      ClickControl(w, click);
      trail += std::string(click) + " ";
    }
    EXPECT_EQ(w.bandwidthLevel, c.level) << trail;
    EXPECT_EQ(w.serverMode, c.mode) << trail;
    EXPECT_TRUE(Selected(w, c.clicks.back())) << trail;
    EXPECT_EQ(w.staffLogin, 1) << trail;
    DestroyWindow(w.GetHandle());
  }
}

TEST_F(SettingWindow, UserModeIsRefusedLocally) {
  UISetting w(nullptr);
  ClickControl(w, "UserAnony");
  EXPECT_EQ(w.staffLogin, 0);
  EXPECT_FALSE(Find(w, "EditUser")->IsEnabled());
  EXPECT_FALSE(Find(w, "EditPsw")->IsEnabled());
  EXPECT_EQ(Text(w, "Tips"), "提示:请设置[测速模式]、[测速量程]和[登陆模式]，点击<申请测试号>");

  ClickControl(w, "ButtonUIApply");
  EXPECT_EQ(Text(w, "Tips"), "提示:用户名密码不正确，请使用用户模式申请测试号");
  EXPECT_EQ(Text(w, "EditUser"), "");
  EXPECT_EQ(Text(w, "EditPsw"), "");
  EXPECT_TRUE(Find(w, "ButtonUIApply")->IsEnabled());
  EXPECT_EQ(w.request, nullptr);  // nothing was sent

  ClickControl(w, "UserValid");
  EXPECT_EQ(w.staffLogin, 1);
  EXPECT_TRUE(Find(w, "EditUser")->IsEnabled());
  EXPECT_TRUE(Find(w, "EditPsw")->IsEnabled());
  DestroyWindow(w.GetHandle());
}

TEST_F(SettingWindow, RepliesShowTheirTexts) {
  static char granted[] = "100042";
  static char empty[] = "";
  struct Case {
    const char* name;
    WPARAM kind;
    LPARAM text;
    const char* tips;
    bool applyEnabled;
    const char* number;
    UINT timer;
  } cases[] = {
      {"denied", 1, 0, "提示:用户名或密码错误，请使用正确的用户名密码登陆", false, "", 0},
      {"granted", 2, reinterpret_cast<LPARAM>(granted), "提示:申请成功，测试序列号100042，稍等即将开启测试...", false,
       "100042", UISetting::kGrantedTimer},
      {"upgrade", 0, 0, "提示:申请失败，版本需升级后使用，请重新下载软件", false, "", UISetting::kUpgradeTimer},
      {"no reply", 2, reinterpret_cast<LPARAM>(empty), "提示:测试平台无应答，请检查网络后重新申请", true, "", 0},
      {"granted without text", 2, 0, "提示:正在申请测试号请稍等...", false, "", 0},
      {"unknown kind", 7, reinterpret_cast<LPARAM>(granted), "提示:正在申请测试号请稍等...", false, "", 0},
  };
  for (const Case& c : cases) {
    UISetting w(nullptr);
    // As after an apply: the request is on its way, the button disabled.
    Find(w, "Tips")->SetText("提示:正在申请测试号请稍等...");
    Find(w, "ButtonUIApply")->SetEnabled(false);
    PostMessageA(w.GetHandle(), vt::MSG_TEST_NUMBER, c.kind, c.text);
    skintest::Pump(100);
    EXPECT_EQ(Text(w, "Tips"), c.tips) << c.name;
    EXPECT_EQ(Find(w, "ButtonUIApply")->IsEnabled(), c.applyEnabled) << c.name;
    EXPECT_STREQ(w.testNumber.GetData(), c.number) << c.name;
    EXPECT_EQ(w.timerId, c.timer) << c.name;
    if (c.timer) KillTimer(w.GetHandle(), c.timer);  // the paths they start are tested below
    EXPECT_TRUE(IsWindow(w.GetHandle())) << c.name;
    EXPECT_TRUE(dialogtest::Boxes().empty()) << c.name;
    DestroyWindow(w.GetHandle());
  }
}

TEST_F(SettingWindow, GrantClosesTheWindowWithResultOne) {
  static char granted[] = "100077";
  UISetting w(nullptr);
  ClickControl(w, "serverHost");
  ClickControl(w, "BandWidth1000M");
  PostMessageA(w.GetHandle(), vt::MSG_TEST_NUMBER, 2, reinterpret_cast<LPARAM>(granted));
  skintest::Pump(300);
  ASSERT_TRUE(IsWindow(w.GetHandle()));  // it waits for its timer, not for the reply
  EXPECT_EQ(dialogtest::RunModalBounded(w), 1u);
  EXPECT_FALSE(IsWindow(w.GetHandle()));
  EXPECT_STREQ(w.testNumber.GetData(), "100077");
  EXPECT_EQ(w.serverMode, 2);
  EXPECT_EQ(w.bandwidthLevel, 16);
}

TEST_F(SettingWindow, NoReplyLetsTheUserApplyAgain) {
  static char empty[] = "";
  UISetting w(nullptr);
  PostMessageA(w.GetHandle(), vt::MSG_TEST_NUMBER, 2, reinterpret_cast<LPARAM>(empty));
  skintest::Pump(2500);  // past the grant's two seconds: no close is pending
  ASSERT_TRUE(IsWindow(w.GetHandle()));
  EXPECT_EQ(Text(w, "Tips"), "提示:测试平台无应答，请检查网络后重新申请");
  EXPECT_TRUE(Find(w, "ButtonUIApply")->IsEnabled());
  DestroyWindow(w.GetHandle());
}

TEST_F(SettingWindow, ReturnAndEscapeDoNothingAltF4ClosesWithZero) {
  UISetting w(nullptr);
  HWND hwnd = w.GetHandle();
  for (UINT key : {VK_RETURN, VK_ESCAPE}) {
    skintest::PostKey(hwnd, key);
    skintest::Pump(200);
    ASSERT_TRUE(IsWindow(hwnd)) << key;
    EXPECT_EQ(Text(w, "Tips"), kTipsStart) << key;
    EXPECT_EQ(w.request, nullptr) << key;  // Return did not apply
  }
  // Also while an edit has the keyboard.
  Find(w, "EditUser")->SetFocus();
  skintest::Pump(100);
  HWND focus = GetFocus();
  skintest::PostKey(focus ? focus : hwnd, VK_ESCAPE);
  skintest::Pump(200);
  ASSERT_TRUE(IsWindow(hwnd));

  PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(dialogtest::RunModalBounded(w), 0u);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_STREQ(w.testNumber.GetData(), "");
}

// --- paths that end the process: this test runs itself as a child ---

TEST(SettingWindowChild, Run) {
  std::string scenario = dialogtest::ChildScenario();
  if (scenario.empty()) GTEST_SKIP() << "runs only as a child of the tests below";
  dialogtest::SetUpToolkit();
  dialogtest::RecordBoxes();
  UISetting w(nullptr);
  if (scenario == "quit") {
    ClickControl(w, "ButtonUIQuit");
  } else if (scenario == "upgrade") {
    PostMessageA(w.GetHandle(), vt::MSG_TEST_NUMBER, 0, 0);
    dialogtest::RunModalBounded(w);
  }
  skintest::Pump(500);
  printf("STILL RUNNING\n");
  fflush(stdout);
  FAIL() << "the process should have ended";
}

TEST(SettingWindowEnds, QuitEndsTheProcessWithZero) {
  if (!dialogtest::ChildScenario().empty()) GTEST_SKIP();
  dialogtest::ChildRun run = dialogtest::RunChild("SettingWindowChild.Run", "quit");
  ASSERT_TRUE(run.started);
  ASSERT_TRUE(run.ended) << run.output;
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(run.output.find("STILL RUNNING"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("BOX "), std::string::npos) << run.output;  // no question asked
}

TEST(SettingWindowEnds, UpgradeDemandShowsTheBoxThenEndsWithZero) {
  if (!dialogtest::ChildScenario().empty()) GTEST_SKIP();
  dialogtest::ChildRun run = dialogtest::RunChild("SettingWindowChild.Run", "upgrade");
  ASSERT_TRUE(run.started);
  ASSERT_TRUE(run.ended) << run.output;
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("BOX 升级提示|版本需要升级，请到平台中重新下载，点击确定后退出"), std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("STILL RUNNING"), std::string::npos) << run.output;
}

TEST_F(SettingWindow, RunSettingsWindowReturnsTheChoice) {
  // The owner's step as the main window runs it; the grant is posted from a
  // timer-free path: Alt+F4 right after the choice keeps the fields as they stand.
  struct Poster {
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      HWND w = FindWindowA("SettingUI", nullptr);
      static char granted[] = "100500";
      if (w) PostMessageA(w, vt::MSG_TEST_NUMBER, 2, reinterpret_cast<LPARAM>(granted));
    }
  };
  SetTimer(nullptr, 0, 50, Poster::Fire);
  UINT_PTR guard = dialogtest::StartOverdueGuard();
  SettingsChoice choice = RunSettingsWindow(nullptr);
  KillTimer(nullptr, guard);
  EXPECT_EQ(choice.bandwidthLevel, 12);
  EXPECT_EQ(choice.serverMode, 1);
  EXPECT_EQ(choice.testNumber, "100500");
}

}  // namespace

// --- the real exchange, against the lab on the profile's addresses ---
// Runs only when tests/e2e/settings-lab has started the lab with the
// scenario named in VT_LAB_SCENARIO.

TEST(SettingWindowLab, ReplyFromThePlatform) {
  const char* scenario = getenv("VT_LAB_SCENARIO");
  if (!scenario || !dialogtest::ChildScenario().empty()) GTEST_SKIP() << "needs the lab (tests/e2e/settings-lab)";
  dialogtest::SetUpToolkit();
  dialogtest::RecordBoxes();
  struct Case {
    const char* scenario;
    const char* tipsStart;
    bool numberGranted;
    UINT timer;
  } cases[] = {
      {"default", "提示:申请成功，测试序列号", true, UISetting::kGrantedTimer},
      {"deny", "提示:用户名或密码错误，请使用正确的用户名密码登陆", false, 0},
      {"need-update", "提示:申请失败，版本需升级后使用，请重新下载软件", false, UISetting::kUpgradeTimer},
      {"none", "提示:测试平台无应答，请检查网络后重新申请", false, 0},
  };
  const Case* c = nullptr;
  for (const Case& k : cases)
    if (strcmp(k.scenario, scenario) == 0) c = &k;
  ASSERT_NE(c, nullptr) << scenario;
  UISetting w(nullptr);
  ClickControl(w, "ButtonUIApply");
  EXPECT_FALSE(Find(w, "ButtonUIApply")->IsEnabled());
  ASSERT_TRUE(skintest::PumpUntil([&] { return Text(w, "Tips") != "提示:正在申请测试号请稍等..."; }, 20000));
  std::string tips = Text(w, "Tips");
  EXPECT_EQ(tips.rfind(c->tipsStart, 0), 0u) << tips;
  EXPECT_EQ(w.timerId, c->timer);
  if (c->timer == UISetting::kUpgradeTimer) KillTimer(w.GetHandle(), c->timer);  // its exit is tested above
  if (c->numberGranted) {
    std::string number = w.testNumber.GetData();
    EXPECT_EQ(number.size(), 6u) << number;
    EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << number;
    EXPECT_EQ(tips, "提示:申请成功，测试序列号" + number + "，稍等即将开启测试...");
    EXPECT_EQ(dialogtest::RunModalBounded(w), 1u);
  } else {
    EXPECT_STREQ(w.testNumber.GetData(), "");
    EXPECT_EQ(Find(w, "ButtonUIApply")->IsEnabled(), strcmp(c->scenario, "none") == 0);
    DestroyWindow(w.GetHandle());
  }
}
