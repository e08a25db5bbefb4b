#include "app/dialogs/UISetting_win.h"

#include <process.h>

#include <cstdlib>
#include <cstring>

#include "base/Messages.h"
#include "app/dialogs/AppMessageBox_win.h"
#include "ui/controls/ControlUI.h"

namespace {

const char kTipsUserMode[] = "提示:请设置[测速模式]、[测速量程]和[登陆模式]，点击<申请测试号>";
const char kTipsRefusedLocally[] = "提示:用户名密码不正确，请使用用户模式申请测试号";
const char kTipsApplying[] = "提示:正在申请测试号请稍等...";
const char kTipsNeedUpdate[] = "提示:申请失败，版本需升级后使用，请重新下载软件";
const char kTipsDenied[] = "提示:用户名或密码错误，请使用正确的用户名密码登陆";
const char kTipsGranted[] = "提示:申请成功，测试序列号%s，稍等即将开启测试...";
const char kTipsNoReply[] = "提示:测试平台无应答，请检查网络后重新申请";

}  // namespace

UISetting::UISetting(HWND parent) {
  CreateWnd(parent, "SettingUI",
            WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER | WS_DLGFRAME | WS_SYSMENU,
            WS_EX_TOOLWINDOW, 0, 0, 0, 0);
  CenterOnOwner();
}

UISetting::~UISetting() {
  if (!requestRunning_) delete request;  // else the thread still reads it: kept to the end
}

void UISetting::OnWindowReady() {
  SetControlText("EditUser", "Orvalen");
  SetControlText("EditPsw", "580317");
  bandwidthLevel = 12;
  serverMode = 1;
  staffLogin = 1;
}

LRESULT UISetting::FilterMessage(UINT msg, WPARAM wParam, LPARAM, bool& handled) {
  if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) handled = true;
  return 0;
}

void UISetting::SetControlText(const char* name, const char* text) {
  if (CControlUI* c = Find(name)) c->SetText(text);
}

void UISetting::SetControlEnabled(const char* name, bool enabled) {
  if (CControlUI* c = Find(name)) c->SetEnabled(enabled);
}

void UISetting::OnClickNotify(UINotification& msg) {
  if (!msg.sender) return;
  const CUIString& name = msg.sender->GetName();
  struct Level {
    const char* option;
    int level;
  };
  static const Level kLevels[] = {
      {"BandWidth4M", 4}, {"BandWidth20M", 8}, {"BandWidth100M", 12}, {"BandWidth1000M", 16}};
  for (const Level& l : kLevels) {
    if (name == l.option) {
      bandwidthLevel = l.level;
      return;
    }
  }
  if (name == "UserAnony") {
    SetControlEnabled("EditUser", false);
    SetControlEnabled("EditPsw", false);
    staffLogin = 0;
    SetControlText("Tips", kTipsUserMode);
  } else if (name == "UserValid") {
    SetControlEnabled("EditUser", true);
    SetControlEnabled("EditPsw", true);
    staffLogin = 1;
  } else if (name == "serverWWW") {
    serverMode = 1;
  } else if (name == "serverHost") {
    serverMode = 2;
  } else if (name == "ButtonUIApply") {
    Apply();
  } else if (name == "ButtonUIQuit") {
    exit(0);
  } else {
    WindowImplBase::OnClickNotify(msg);
  }
}

void UISetting::Apply() {
  if (staffLogin == 0) {
    SetControlText("Tips", kTipsRefusedLocally);
    SetControlText("EditUser", "");
    SetControlText("EditPsw", "");
    return;
  }
  if (requestRunning_) return;  // the button is disabled while one runs; a stray click changes nothing
  CControlUI* user = Find("EditUser");
  CControlUI* password = Find("EditPsw");
  CUIString query;
  query.Format("&User=%s&Pass=%s", user ? user->GetText().GetData() : "",
               password ? password->GetText().GetData() : "");
  if (!request) request = new TestNumberRequest;
  request->window = hwnd_;
  request->query = query;
  uintptr_t thread = _beginthreadex(nullptr, 0, TestNumberThread, request, 0, nullptr);
  if (thread) {
    requestRunning_ = true;
    CloseHandle(reinterpret_cast<HANDLE>(thread));
  }
  SetControlText("Tips", kTipsApplying);
  SetControlEnabled("ButtonUIApply", false);
}

LRESULT UISetting::HandleAppMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = false;
  if (msg == vt::MSG_TEST_NUMBER) OnTestNumberReply(wParam, lParam);
  else if (msg == WM_TIMER) OnTimer(wParam);
  return 0;
}

void UISetting::OnTestNumberReply(WPARAM kind, LPARAM text) {
  requestRunning_ = false;  // the thread's reply is its last use of the request
  if (kind == 0) {
    SetControlText("Tips", kTipsNeedUpdate);
    timerId = SetTimer(hwnd_, kUpgradeTimer, kReplyWaitMs, nullptr);
  } else if (kind == 1) {
    SetControlText("Tips", kTipsDenied);
  } else if (kind == 2 && text) {
    const char* number = reinterpret_cast<const char*>(text);
    if (!*number) {
      // The exchange failed (no connection, no body): that is no test
      // number. The user may try again once the network is back.
      SetControlText("Tips", kTipsNoReply);
      SetControlEnabled("ButtonUIApply", true);
      return;
    }
    CUIString tips;
    tips.Format(kTipsGranted, number);
    SetControlText("Tips", tips.GetData());
    testNumber = number;
    timerId = SetTimer(hwnd_, kGrantedTimer, kReplyWaitMs, nullptr);
  }
}

void UISetting::OnTimer(WPARAM id) {
  if (id == kGrantedTimer) {
    KillTimer(hwnd_, timerId);
    CloseWnd(1);
  } else if (id == kUpgradeTimer) {
    KillTimer(hwnd_, timerId);
    vt::ShowMessageBox(hwnd_, "版本需要升级，请到平台中重新下载，点击确定后退出", "升级提示", MB_OK);
    exit(0);
  }
}

SettingsChoice RunSettingsWindow(HWND owner) {
  UISetting window(owner);
  window.RunModal();
  // A quit message ends the modal loop with the window still there.
  if (IsWindow(window.GetHandle())) DestroyWindow(window.GetHandle());
  SettingsChoice choice;
  choice.bandwidthLevel = window.bandwidthLevel;
  choice.serverMode = window.serverMode;
  choice.testNumber = window.testNumber.GetData();
  return choice;
}
