// UIFrame: the main window. Its pages' logic is MainFrameModel; the frame
// finds controls by name and applies what the model decides (IMainFrameView),
// and starts the engine threads the model asks for (IMainFrameEngines),
// handing them the request records it owns.
//
// Shutdown: the window object deletes itself when its window is destroyed,
// while engine threads may still run and point into the request records.
// The records therefore live in a block that is never freed (the process
// ends right after the main window), so a late worker never writes into
// freed memory.
#pragma once

#include <windows.h>

#include <string>

#include "app/mainframe/MainFrameModel.h"
#include "ui/Core/WindowImplBase.h"

struct FrameRecords;  // request records handed to engine threads (UIFrame.cpp)

class UIFrame : public WindowImplBase, public IMainFrameView, public IMainFrameEngines {
 public:
  UIFrame();
  ~UIFrame() override;  // posts the quit message first

  const char* WindowClassName() const override { return "UIFrame"; }
  MainFrameModel& model() { return model_; }

  // The report page's button: user information, submission, the 90 % rule
  // and the report document.
  void ExportReport();

 protected:
  void OnWindowDestroyed() override;
  void OnWindowReady() override;
  void OnClickNotify(UINotification& msg) override;
  const char* SkinFolder() const override { return ""; }
  const char* SkinFileName() const override { return "mainframe.xml"; }
  int SkinSourceKind() const override { return 4; }
  const char* SkinResourceId() const override { return "102"; }
  LRESULT HandleAppMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

 public:
  // IMainFrameView
  void SetText(const char* control, const char* text) override;
  void SetVisible(const char* control, bool visible) override;
  void SetEnabled(const char* control, bool enabled) override;
  void SetBkImage(const char* control, const char* image) override;
  void SetNormalImage(const char* control, const char* image) override;
  void SelectPage(int index) override;
  void SetDialValue(int value) override;
  void AddTraceRow(const TraceRowSpec& row) override;
  void RemoveAllTraceRows() override;
  unsigned StartTimer(unsigned id, unsigned periodMs) override;
  void StopTimer(unsigned id) override;

  // IMainFrameEngines
  void StartDownload(const LineChoice& line) override;
  void StartUpload(const LineChoice& line) override;
  void StartPing(const char* host) override;
  void StartAppTest() override;
  void StartRouteTrace(const char* target) override;
  void StartPublicIp() override;
  void StartTroubleTrace(const char* publicIp, const char* target) override;
  void TroubleTraceLists(std::string* hoops, std::string* delays) override;
  bool LaunchLanTool() override;
  void OfferLanToolInstall() override;

 private:
  CControlUI* Find(const char* name);
  void StartThread(unsigned(__stdcall* proc)(void*), void* arg);

  MainFrameModel model_;
  FrameRecords* records_;  // never freed: see the note at the top
};

// The settings window's choice, as OnWindowReady reads it after RunModal.
// Implemented by the settings window (app/dialogs).
struct SettingsChoice {
  int bandwidthLevel = 12;
  int serverMode = 1;
  std::string testNumber;
};
SettingsChoice RunSettingsWindow(HWND owner);

// The user-information window: true when accepted (result 1), with its two
// texts. Implemented by app/dialogs.
bool RunUserInfoWindow(HWND owner, std::string* userInfo, std::string* lineBandwidth);
