// CWindowWnd: a native window owned by an object. The toolkit's window
// procedure finds the object in the window's user data (or, for a
// superclassed window, the "WndX" property) and hands every message to
// RouteMessage.
#pragma once

#include <windows.h>

class CWindowWnd {
 public:
  CWindowWnd() = default;
  virtual ~CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHandle() const { return hwnd_; }
  operator HWND() const { return hwnd_; }  // NOLINT

  HWND CreateWnd(HWND parent, const char* title, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                 int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = nullptr);
  void ShowWnd(bool show = true, bool activate = true);
  UINT RunModal();
  void CloseWnd(UINT result = IDOK);
  void CenterOnOwner();
  void SetWindowIcon(UINT resourceId);
  void ResizeClientArea(int cx, int cy);
  LRESULT SendMsg(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT PostMsg(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

 protected:
  virtual const char* WindowClassName() const = 0;
  virtual const char* SuperClassName() const { return nullptr; }
  virtual UINT ClassStyle() const { return 0; }
  virtual LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void OnWindowDestroyed() {}

  LRESULT CallPreviousProc(UINT msg, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  WNDPROC previousProc_ = DefWindowProcA;
  bool subclassed_ = false;

 private:
  bool RegisterWindowClass();
  bool RegisterSuperclass();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT Dispatch(CWindowWnd* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
