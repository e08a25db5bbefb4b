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

#include "app/dialogs/UISetting_win.h"
#include "app/dialogs/UIUserInfo_win.h"
#include "model/EngineLauncher_win.h"
#include "model/MainFrameModel.h"
#include "ui/Core/WindowImplBase.h"
#include "ui/controls/ListUI.h"

class UIFrame : public WindowImplBase, public IListCallbackUI, public IMainFrameView {
 public:
  UIFrame();
  ~UIFrame() override;  // posts the quit message first

  const char* WindowClassName() const override { return "UIFrame"; }
  MainFrameModel& model() { return model_; }
  int lastDialValue() const { return dialValue_; }

  // The report page's button: user information, submission, the 90 % rule
  // and the report document.
  void ExportReport();

  // The shell's "open" of the report document and of the local report page
  // (a test may record them instead).
  using OpenDocumentHook = void (*)(const char* address);
  static void SetOpenDocumentHook(OpenDocumentHook hook);

  // Where the window keeps its result records; empty (the default) means
  // the user's local application data (model/ResultStore_win.h).
  static void SetReportFolder(const std::wstring& folder);
  // The local report page of the last save, empty before one.
  const std::wstring& localReportPage() const { return localPage_; }

  // The two dialogs the window runs. The entry point installs the real
  // windows (RunSettingsWindow, RunUserInfoWindow); tests install their own.
  // Without a settings runner the window starts with the settings' defaults;
  // without a user-information runner the report click does nothing.
  using SettingsRunner = SettingsChoice (*)(HWND owner);
  using UserInfoRunner = bool (*)(HWND owner, std::string* userInfo, std::string* lineBandwidth);
  static void SetDialogRunners(SettingsRunner settings, UserInfoRunner userInfo);

  // IListCallbackUI: "listTrace" rows hold their own controls, so no cell
  // text is ever asked for; an empty text answers anyway.
  const char* GetCellText(CControlUI*, int, int) override { return ""; }

 protected:
  void OnWindowDestroyed() override;
  void OnWindowReady() override;
  void OnClickNotify(UINotification& msg) override;
  void OnNotification(UINotification& msg) override;
  LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
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

 private:
  CControlUI* Find(const char* name);
  CListUI* TraceList();  // the route page's list, or null
  bool RunUserInfo(std::string* userInfo, std::string* lineBandwidth);
  // Saves the result record and its page; returns the report page's second
  // line: a link to the page, or that it could not be saved.
  std::string SaveLocalReport(const char* because);
  // Saves what was measured since the last save, if anything (the window
  // is closing or the session ending).
  void SaveUnsavedResults();
  void OpenLocalReport();
  static OpenDocumentHook g_openDocument;

  // The engines, plus the LAN analysis tool that only the window offers.
  class FrameEngines : public EngineLauncher {
   public:
    bool LaunchLanTool() override;
    void OfferLanToolInstall() override;
  };

  FrameEngines* engines_;  // never freed: see the note at the top
  MainFrameModel model_;
  int dialValue_ = 0;
  uint64_t savedRevision_ = 0;  // the results' revision on disk
  std::wstring localPage_;
};
