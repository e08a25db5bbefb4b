// Entry point of veltrane.exe: the version check (and, when a newer version
// is published and downloaded whole, the self-update, which ends the
// process), then the toolkit, the main window at screen size (its ready step
// runs the settings window), and the message loop until the main window's
// teardown posts the quit message.
#include <windows.h>

#include <new>

#include "app/mainframe/UIFrame_win.h"
#include "app/startup/StartUp_win.h"
#include "ui/Core/UIManager.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  CheckForUpdate();
  CUIManager::SetInstance(instance);
  CUIManager::SetSkinPath(CUIManager::ModuleDirectory().GetData());
  UIFrame::SetDialogRunners(RunSettingsWindow, RunUserInfoWindow);
  UIFrame* frame = new (std::nothrow) UIFrame;
  if (!frame) return 0;
  frame->CreateWnd(nullptr, "Veltrane", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, 0, 0,
                   0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  frame->CenterOnOwner();
  // The frame deletes itself when its window is destroyed.
  CUIManager::RunMessageLoop();
  return 0;
}
