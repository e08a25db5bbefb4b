// CUIManager::MessageHandler: message filters first, then one named handler
// per message (the table below); queued notifications are delivered before
// and after.
#include "ui/Core/UIManager.h"
#include "ui/Core/DpiAwareness.h"
#include "ui/controls/ControlUI.h"

const CUIManager::MessageEntry CUIManager::kMessageTable[] = {
    {WM_PAINT, &CUIManager::OnPaint},
    {WM_PRINTCLIENT, &CUIManager::OnPrintClient},
    {WM_ERASEBKGND, &CUIManager::OnEraseBkgnd},
    {WM_SIZE, &CUIManager::OnSize},
    {WM_TIMER, &CUIManager::OnTimer},
    {WM_CLOSE, &CUIManager::OnClose},
    {WM_MOUSEMOVE, &CUIManager::OnMouseMove},
    {WM_MOUSEHOVER, &CUIManager::OnMouseHover},
    {WM_MOUSELEAVE, &CUIManager::OnMouseLeave},
    {WM_LBUTTONDOWN, &CUIManager::OnLButtonDown},
    {WM_LBUTTONDBLCLK, &CUIManager::OnLButtonDblClk},
    {WM_RBUTTONDOWN, &CUIManager::OnRButtonDown},
    {WM_LBUTTONUP, &CUIManager::OnLButtonUp},
    {WM_CONTEXTMENU, &CUIManager::OnContextMenu},
    {WM_MOUSEWHEEL, &CUIManager::OnMouseWheel},
    {kMsgMouseHWheel, &CUIManager::OnMouseHWheel},
    {WM_SETCURSOR, &CUIManager::OnSetCursor},
    {WM_KEYDOWN, &CUIManager::OnKeyDown},
    {WM_KEYUP, &CUIManager::OnKeyUp},
    {WM_CHAR, &CUIManager::OnChar},
    {WM_GETMINMAXINFO, &CUIManager::OnGetMinMaxInfo},
    {kMsgDelayedDelete, &CUIManager::OnDelayedDelete},
    {WM_DPICHANGED, &CUIManager::OnDpiChanged},
};

bool CUIManager::MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  if (!hwnd_) return false;
  DeliverQueuedNotifications();
  for (IMessageFilterUI* f : std::vector<IMessageFilterUI*>(filters_)) {
    bool handled = false;
    LRESULT r = f->FilterMessage(msg, wParam, lParam, handled);
    if (handled) {
      result = r;
      return true;
    }
  }
  bool handled = false;
  if (msg == WM_COMMAND || msg == WM_NOTIFY || msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) {
    handled = OnReflect(msg, wParam, lParam, result);
  } else {
    for (const MessageEntry& e : kMessageTable) {
      if (e.msg == msg) {
        handled = (this->*e.handler)(wParam, lParam, result);
        break;
      }
    }
  }
  DeliverQueuedNotifications();
  return handled;
}

bool CUIManager::OnEraseBkgnd(WPARAM, LPARAM, LRESULT& result) {
  result = 1;  // never erased: the paint covers everything
  return true;
}

bool CUIManager::OnSize(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (focus_) {
    UIEvent e = MakeEvent(UIEventKind::WindowSize, focus_, wParam, lParam);
    focus_->DoEvent(e);
  }
  if (root_) root_->RequestLayout();
  layoutNeeded_ = true;
  return false;
}

bool CUIManager::OnClose(WPARAM, LPARAM, LRESULT&) {
  if (hover_) {
    UIEvent e = MakeEvent(UIEventKind::MouseLeave, hover_);
    hover_->DoEvent(e);
    hover_ = nullptr;
  }
  if (pressed_) {
    UIEvent e = MakeEvent(UIEventKind::ButtonUp, pressed_);
    pressed_->DoEvent(e);
    pressed_ = nullptr;
  }
  SetFocusControl(nullptr);
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  if (owner) SetFocus(owner);
  return false;
}

bool CUIManager::OnGetMinMaxInfo(WPARAM, LPARAM lParam, LRESULT&) {
  MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
  if (minInfo_.cx > 0) info->ptMinTrackSize.x = minInfo_.cx;
  if (minInfo_.cy > 0) info->ptMinTrackSize.y = minInfo_.cy;
  if (maxInfo_.cx > 0) info->ptMaxTrackSize.x = maxInfo_.cx;
  if (maxInfo_.cy > 0) info->ptMaxTrackSize.y = maxInfo_.cy;
  return false;
}

bool CUIManager::OnDelayedDelete(WPARAM, LPARAM, LRESULT&) {
  std::vector<CControlUI*> roots;
  roots.swap(delayedDelete_);
  for (CControlUI* c : roots) delete c;
  return true;
}

bool CUIManager::OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  if (msg == WM_COMMAND) child = reinterpret_cast<HWND>(lParam);
  else if (msg == WM_NOTIFY) child = lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
  else child = reinterpret_cast<HWND>(lParam);
  if (!child || !IsWindow(child)) return false;
  result = SendMessageA(child, msg + 0x2000, wParam, lParam);  // reflected to the child
  return true;
}

// Moved to a monitor of another scale: lay out for the new DPI, then take
// the rectangle the system suggests (it keeps the window under the mouse).
bool CUIManager::OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  SetDpi(HIWORD(wParam));
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  result = 0;
  return true;
}
