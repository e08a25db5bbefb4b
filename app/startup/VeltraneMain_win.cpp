// Entry point of veltrane.exe. Until the skinned main window exists this
// opens a plain 900 x 550 window that names the product and its version, so
// the build, the resources and the Chinese text path can be seen working.
#include <windows.h>

#include "app/Version.h"
#include "ui/Core/UIString.h"

namespace {

const char kClassName[] = "UIFrame";

void PaintBanner(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH back = CreateSolidBrush(RGB(0x1E, 0x4D, 0xA4));
  FillRect(dc, &client, back);
  DeleteObject(back);

  HFONT font = CreateFontA(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, "SimSun");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  CUIString title;
  title.Format("%s %s", "Veltrane 专线质量认证", VELTRANE_VERSION_TEXT);
  DrawTextA(dc, title, static_cast<int>(title.GetLength()), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT:
      PaintBanner(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;
  HWND hwnd = CreateWindowExA(0, kClassName, "Veltrane", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                              (GetSystemMetrics(SM_CXSCREEN) - 900) / 2, (GetSystemMetrics(SM_CYSCREEN) - 550) / 2,
                              900, 550, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, show);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
