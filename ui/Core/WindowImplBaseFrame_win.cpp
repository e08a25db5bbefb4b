// WindowImplBase: the frameless window's own non-client handling (hit
// testing, sizing limits, corners, activation painting) and the handlers
// that pass their messages on.
#include <windowsx.h>

#include <cstring>

#include "ui/Core/WindowImplBase.h"
#include "ui/controls/ControlUI.h"

namespace {
MONITORINFO MonitorOf(HWND hwnd) {
  MONITORINFO mi = {};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
  return mi;
}
}  // namespace

#define VT_PASS_ON(Name)                                              \
  LRESULT WindowImplBase::Name(UINT, WPARAM, LPARAM, bool& handled) { \
    handled = false;                                                  \
    return 0;                                                         \
  }
VT_PASS_ON(OnClose)
VT_PASS_ON(OnDestroy)
VT_PASS_ON(OnMouseWheel)
VT_PASS_ON(OnChar)
VT_PASS_ON(OnKeyDown)
VT_PASS_ON(OnKillFocus)
VT_PASS_ON(OnSetFocus)
VT_PASS_ON(OnLButtonDown)
VT_PASS_ON(OnLButtonUp)
VT_PASS_ON(OnMouseMove)
VT_PASS_ON(OnMouseHover)
#undef VT_PASS_ON

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (IsIconic(hwnd_)) {
    handled = false;
    return 0;
  }
  handled = true;
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = true;
  if (!IsZoomed(hwnd_)) return 0;  // the whole window is client area
  // Maximized: keep the origin, take the size of the monitor's work area.
  NCCALCSIZE_PARAMS* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  MONITORINFO mi = MonitorOf(hwnd_);
  RECT& r = p->rgrc[0];
  r.right = r.left + (mi.rcWork.right - mi.rcWork.left);
  r.bottom = r.top + (mi.rcWork.bottom - mi.rcWork.top);
  return WVR_REDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool& handled) {
  handled = true;
  return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool& handled) {
  handled = true;
  POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(hwnd_, &pt);
  RECT c;
  GetClientRect(hwnd_, &c);
  if (!IsZoomed(hwnd_)) {
    RECT s = manager_.GetSizeBox();
    bool left = pt.x<c.left + s.left, right = pt.x> c.right - s.right;
    if (pt.y < c.top + s.top) return left ? HTTOPLEFT : (right ? HTTOPRIGHT : HTTOP);
    if (pt.y > c.bottom - s.bottom) return left ? HTBOTTOMLEFT : (right ? HTBOTTOMRIGHT : HTBOTTOM);
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
  }
  RECT k = manager_.GetCaptionRect();
  if (pt.x >= c.left + k.left && pt.x < c.right - k.right && pt.y >= k.top && pt.y < k.bottom) {
    CControlUI* under = manager_.ControlAt(pt);
    if (under) {
      const char* cls = under->GetClass();
      if (_stricmp(cls, "ButtonUI") != 0 && _stricmp(cls, "OptionUI") != 0 && _stricmp(cls, "TextUI") != 0)
        return HTCAPTION;
    }
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
  MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
  MONITORINFO mi = MonitorOf(hwnd_);
  info->ptMaxPosition.x = mi.rcWork.left - mi.rcMonitor.left;
  info->ptMaxPosition.y = mi.rcWork.top - mi.rcMonitor.top;
  info->ptMaxTrackSize.x = mi.rcWork.right - mi.rcWork.left;
  info->ptMaxTrackSize.y = mi.rcWork.bottom - mi.rcWork.top;
  SIZE minInfo = manager_.GetMinInfo();
  info->ptMinTrackSize.x = minInfo.cx;
  info->ptMinTrackSize.y = minInfo.cy;
  handled = false;  // the manager applies "mininfo"/"maxinfo" next
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, bool& handled) {
  handled = false;
  SIZE round = manager_.GetRoundCorner();
  if (wParam == SIZE_MINIMIZED || (round.cx == 0 && round.cy == 0)) return 0;
  RECT rc;
  GetWindowRect(hwnd_, &rc);
  OffsetRect(&rc, -rc.left, -rc.top);
  rc.right++;
  rc.bottom++;
  HRGN rgn = CreateRoundRectRgn(rc.left, rc.top, rc.right, rc.bottom, round.cx, round.cy);
  SetWindowRgn(hwnd_, rgn, TRUE);  // the system owns the region now
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    handled = true;
    SendMessageA(hwnd_, WM_CLOSE, 0, 0);
    return 0;
  }
  handled = true;
  return CallPreviousProc(msg, wParam, lParam);
}
