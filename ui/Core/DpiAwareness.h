// Telling Windows that the program draws for each monitor's DPI itself, and
// asking what DPI a window is shown at. Every call is looked up at run time:
// the awareness calls arrived in Windows Vista (SetProcessDPIAware), 8.1
// (SetProcessDpiAwareness, shcore) and 10 1703 (SetProcessDpiAwarenessContext),
// and the program must start on Windows 7. The manifest declares the same
// awareness; these calls cover a copy started without it.
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace vt {

// Per-monitor v2, else per-monitor, else system aware. Returns the level
// reached: 3, 2, 1, or 0 when every call failed or was already settled.
int EnableDpiAwareness();
// The DPI the window is drawn at: GetDpiForWindow where it exists, else the
// screen's LOGPIXELSY (the system DPI). Never 0.
int WindowDpi(HWND hwnd);

}  // namespace vt
