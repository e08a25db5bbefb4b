// UISetting: the settings window run before the main window accepts tests.
// The user picks the test mode, the dial range and the login mode and
// applies for a test number; the platform's reply (MSG_TEST_NUMBER from
// TestNumberThread) is shown in "Tips". A granted number closes the window
// two seconds later with result 1; an upgrade demand ends the process after
// a message box; "ButtonUIQuit" ends the process at once.
#pragma once

#include <windows.h>

#include <string>

#include "net/platform/PlatformThreads_win.h"
#include "base/UIString.h"
#include "ui/Core/WindowImplBase.h"

// The settings window's choice, as the main window reads it after the
// window has closed.
struct SettingsChoice {
  int bandwidthLevel = 12;
  int serverMode = 1;
  std::string testNumber;
};

class UISetting : public WindowImplBase {
 public:
  // Creates the window owned by parent, visible and centred on it.
  explicit UISetting(HWND parent);
  ~UISetting() override;

  static constexpr UINT kUpgradeTimer = 256;
  static constexpr UINT kGrantedTimer = 257;
  static constexpr UINT kReplyWaitMs = 2000;

  int bandwidthLevel = 12;  // 4 (4M), 8 (20M), 12 (100M), 16 (1000M)
  int serverMode = 1;       // 1 Internet, 2 metropolitan network
  int staffLogin = 1;       // 1 staff login with name and password, 0 user mode
  CUIString testNumber;     // granted by the platform; empty until then
  // Handed to TestNumberThread. Heap-held: a thread still running when the
  // window goes (Alt+F4 while waiting) keeps reading it, so it is then left
  // for the process's end instead of being freed under the thread.
  TestNumberRequest* request = nullptr;
  UINT_PTR timerId = 0;

  LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

 protected:
  const char* WindowClassName() const override { return "SettingUI"; }
  void OnWindowReady() override;
  void OnClickNotify(UINotification& msg) override;
  const char* SkinFolder() const override { return ""; }
  const char* SkinFileName() const override { return "setting-mini.xml"; }
  int SkinSourceKind() const override { return 4; }
  const char* SkinResourceId() const override { return "102"; }
  LRESULT HandleAppMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  CControlUI* Find(const char* name) const { return manager_.FindControlByName(name); }
  void SetControlText(const char* name, const char* text);
  void SetControlEnabled(const char* name, bool enabled);
  void Apply();
  void OnTestNumberReply(WPARAM kind, LPARAM text);
  void OnTimer(WPARAM id);

  bool requestRunning_ = false;  // a TestNumberThread has the request and has not replied
};

// RunSettingsWindow runs this window modally over the main window and
// returns the choice as it stands when the window closes.
SettingsChoice RunSettingsWindow(HWND owner);
