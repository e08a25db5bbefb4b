#include "app/startup/VeltraneApp_win.h"

#include <cstdlib>
#include <new>

#include "app/mainframe/UIFrame_win.h"
#include "app/startup/StartUp_win.h"
#include "engines/quality/LineProber_win.h"
#include "ui/Core/UIManager.h"

int RunVeltrane(HINSTANCE instance) {
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
  return 0;
}
