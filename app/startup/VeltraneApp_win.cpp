#include "app/startup/VeltraneApp_win.h"

#include <cstdlib>
#include <new>

#include "app/mainframe/UIFrame_win.h"
#include "base/CrashReport_win.h"
#include "base/Log.h"
#include "base/LogFile_win.h"
#include "base/ProgramStart_win.h"
#include "app/startup/StartUp_win.h"
#include "engines/quality/LineProber_win.h"
#include "ui/Core/DpiAwareness.h"
#include "ui/Core/UIManager.h"

namespace {

// The daily log file and the crash reports, both in
// %LOCALAPPDATA%\Veltrane\logs, then the start-up line. Before anything
// else: a failure at start is worth a report too. Without that folder the
// log has no file and crash reports go to the temporary folder.
void StartDiagnostics() {
  std::string folder = vt::LocalDataFolder("logs");
  if (!folder.empty()) {
    vt::LogFileSettings settings;
    settings.folder = folder;
    vt::StartLogFile(settings);
  } else {
    char temp[MAX_PATH];
    DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n > 0 && n < MAX_PATH) folder.assign(temp, n > 1 && temp[n - 1] == '\\' ? n - 1 : n);
  }
  vt::InstallCrashReporting(folder);
  vt::LogLine(vt::ProgramStartLine("veltrane").c_str());
}

}  // namespace

int RunVeltrane(HINSTANCE instance) {
  StartDiagnostics();
  // Before any window exists: the awareness of a process is settled by its
  // first window.
  vt::EnableDpiAwareness();
  if (!UseServersOrExplain(__argc, __argv)) return kServerFileExitCode;
  LogUpdateSigning();
  CheckForUpdate();
  CUIManager::SetInstance(instance);
  CUIManager::SetSkinPath(CUIManager::ModuleDirectory().GetData());
  UIFrame::SetDialogRunners(RunSettingsWindow, RunUserInfoWindow);
  UIFrame* frame = new (std::nothrow) UIFrame;
  if (!frame) return 0;
  frame->CreateWnd(nullptr, "Veltrane", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX,
                   0, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  frame->CenterOnOwner();
  // The frame deletes itself when its window is destroyed.
  CUIManager::RunMessageLoop();
  // Closed before the report was exported: the line's probing ends here,
  // its threads joined, not cut off by the process's exit.
  vt::LineProber::Instance().Stop();
  vt::LogLine("veltrane: the window is closed, the program ends");
  return 0;
}
