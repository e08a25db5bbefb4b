#include "ui/Core/DpiAwareness.h"

namespace vt {

namespace {

template <typename Fn>
Fn Lookup(const char* module, const char* name) {
  HMODULE m = GetModuleHandleA(module);
  if (!m) m = LoadLibraryA(module);  // shcore is not loaded by default
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace

int EnableDpiAwareness() {
  using SetContext = BOOL(WINAPI*)(HANDLE);
  using SetAwareness = HRESULT(WINAPI*)(int);
  using SetAware = BOOL(WINAPI*)();
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
  const HANDLE kPerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
  const HANDLE kPerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
  if (SetContext set = Lookup<SetContext>("user32.dll", "SetProcessDpiAwarenessContext")) {
    if (set(kPerMonitorV2)) return 3;
    if (set(kPerMonitor)) return 2;
  }
  if (SetAwareness set = Lookup<SetAwareness>("shcore.dll", "SetProcessDpiAwareness")) {
    if (set(2 /* PROCESS_PER_MONITOR_DPI_AWARE */) == S_OK) return 2;
  }
  if (SetAware set = Lookup<SetAware>("user32.dll", "SetProcessDPIAware")) {
    if (set()) return 1;
  }
  return 0;
}

int WindowDpi(HWND hwnd) {
  using ForWindow = UINT(WINAPI*)(HWND);
  static ForWindow forWindow = Lookup<ForWindow>("user32.dll", "GetDpiForWindow");
  if (hwnd && forWindow) {
    UINT dpi = forWindow(hwnd);
    if (dpi) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

}  // namespace vt
