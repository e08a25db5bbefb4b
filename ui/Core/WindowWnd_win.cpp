#include "ui/Core/WindowWnd.h"

#include "ui/Core/UIManager.h"

namespace {
const char kObjectProperty[] = "WndX";
}

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSA wc = {};
  wc.style = ClassStyle();
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = CUIManager::GetInstance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = WindowClassName();
  if (RegisterClassA(&wc)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
  // Copy the existing class, remember its procedure, substitute ours.
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExA(nullptr, SuperClassName(), &wc) &&
      !GetClassInfoExA(CUIManager::GetInstance(), SuperClassName(), &wc))
    return false;
  previousProc_ = wc.lpfnWndProc;
  wc.lpfnWndProc = ControlProc;
  wc.hInstance = CUIManager::GetInstance();
  wc.lpszClassName = WindowClassName();
  if (RegisterClassExA(&wc)) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::CreateWnd(HWND parent, const char* title, DWORD style, DWORD exStyle, int x, int y, int cx,
                           int cy, HMENU menu) {
  bool registered = SuperClassName() ? RegisterSuperclass() : RegisterWindowClass();
  if (!registered) return nullptr;
  HWND hwnd = CreateWindowExA(exStyle, WindowClassName(), title, style, x, y, cx, cy, parent, menu,
                              CUIManager::GetInstance(), this);
  return hwnd;  // hwnd_ was set on WM_NCCREATE
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<CWindowWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  return Dispatch(self, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProperty, self);
  } else {
    self = static_cast<CWindowWnd*>(GetPropA(hwnd, kObjectProperty));
  }
  return Dispatch(self, hwnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::Dispatch(CWindowWnd* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg != WM_NCDESTROY) return self->RouteMessage(msg, wParam, lParam);
  LRESULT result = CallWindowProcA(self->previousProc_, hwnd, msg, wParam, lParam);
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  RemovePropA(hwnd, kObjectProperty);
  if (self->subclassed_) {
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->previousProc_));
    self->subclassed_ = false;
  }
  self->hwnd_ = nullptr;
  self->OnWindowDestroyed();  // may delete the object: nothing touches it after
  return result;
}

LRESULT CWindowWnd::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallPreviousProc(msg, wParam, lParam);
}

LRESULT CWindowWnd::CallPreviousProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(previousProc_, hwnd_, msg, wParam, lParam);
}

void CWindowWnd::ShowWnd(bool show, bool activate) {
  if (!IsWindow(hwnd_)) return;
  ShowWindow(hwnd_, show ? (activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::CloseWnd(UINT result) {
  if (IsWindow(hwnd_)) PostMessageA(hwnd_, WM_CLOSE, result, 0);
}

LRESULT CWindowWnd::SendMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(hwnd_, msg, wParam, lParam);
}
LRESULT CWindowWnd::PostMsg(UINT msg, WPARAM wParam, LPARAM lParam) {
  return PostMessageA(hwnd_, msg, wParam, lParam);
}

UINT CWindowWnd::RunModal() {
  if (!IsWindow(hwnd_)) return 0;
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  if (owner) EnableWindow(owner, FALSE);
  UINT result = 0;
  MSG msg;
  bool quit = false;
  while (IsWindow(hwnd_)) {
    if (!GetMessageA(&msg, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    if (msg.message == WM_CLOSE && msg.hwnd == hwnd_) {
      result = static_cast<UINT>(msg.wParam);
      // Re-enabled before the window goes, so the owner gets the activation.
      if (owner) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
      }
    }
    if (!CUIManager::PreTranslate(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetFocus(owner);
  }
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return result;
}

void CWindowWnd::CenterOnOwner() {
  if (!IsWindow(hwnd_)) return;
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoA(MonitorFromWindow(owner ? owner : hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
  RECT ref = mi.rcWork;
  if (owner) GetWindowRect(owner, &ref);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = (ref.left + ref.right) / 2 - w / 2;
  int y = (ref.top + ref.bottom) / 2 - h / 2;
  // Inside the work area, left and top edges first.
  if (x + w > mi.rcWork.right) x = mi.rcWork.right - w;
  if (y + h > mi.rcWork.bottom) y = mi.rcWork.bottom - h;
  if (x < mi.rcWork.left) x = mi.rcWork.left;
  if (y < mi.rcWork.top) y = mi.rcWork.top;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetWindowIcon(UINT resourceId) {
  HINSTANCE instance = CUIManager::GetInstance();
  HICON big = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                                            LR_DEFAULTCOLOR));
  if (big) SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  HICON small = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                              LR_DEFAULTCOLOR));
  if (small) SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void CWindowWnd::ResizeClientArea(int cx, int cy) {
  RECT rc;
  if (!GetClientRect(hwnd_, &rc)) return;
  if (cx != -1) rc.right = cx;
  if (cy != -1) rc.bottom = cy;
  LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
  LONG ex = GetWindowLongA(hwnd_, GWL_EXSTYLE);
  if (!AdjustWindowRectEx(&rc, static_cast<DWORD>(style), GetMenu(hwnd_) != nullptr, static_cast<DWORD>(ex)))
    return;
  SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}
