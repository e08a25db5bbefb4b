// CUIManager: mouse and keyboard input, focus, Tab and Alt shortcuts
// (pre-filtering), tooltips.
#include <windowsx.h>

#include <cstring>

#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

namespace {
constexpr UINT kDefaultHoverMs = 400;
POINT PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsLabelClass(const char* cls) { return strcmp(cls, "LabelUI") == 0 || strcmp(cls, "TextUI") == 0; }
}  // namespace

// ---- focus ----

void CUIManager::SetFocusControl(CControlUI* control) {
  if (control == focus_) return;
  if (control && hwnd_ && GetFocus() != hwnd_) ::SetFocus(hwnd_);
  if (focus_) {
    CControlUI* old = focus_;
    focus_ = nullptr;
    UIEvent e = MakeEvent(UIEventKind::KillFocus, old);
    old->DoEvent(e);
    SendNotification(old, "killfocus");
  }
  if (control && control->GetManager() == this && control->IsVisible() && control->IsEnabled()) {
    focus_ = control;
    UIEvent e = MakeEvent(UIEventKind::SetFocus, control);
    control->DoEvent(e);
    SendNotification(control, "setfocus");
  }
}

bool CUIManager::SetNextTabControl(bool forward) {
  if (!root_) return false;
  focusNeeded_ = false;
  // Tab stops in document order (containers before their children).
  std::vector<CControlUI*> stops;
  root_->FindControl(
      [](CControlUI* c, void* list) -> CControlUI* {
        if ((c->GetControlFlags() & kControlFlagTabStop) && c->IsKeyboardEnabled())
          static_cast<std::vector<CControlUI*>*>(list)->push_back(c);
        return nullptr;
      },
      &stops, kFindVisible | kFindEnabled | kFindMeFirst);
  if (stops.empty()) return false;
  int n = static_cast<int>(stops.size());
  int current = -1;
  for (int i = 0; i < n; ++i) {
    if (stops[static_cast<size_t>(i)] == focus_) current = i;
  }
  int next;
  if (current < 0) next = forward ? 0 : n - 1;
  else next = forward ? (current + 1) % n : (current + n - 1) % n;
  SetFocusControl(stops[static_cast<size_t>(next)]);
  return true;
}

// ---- pre-filtering: before a queued message is translated ----

bool CUIManager::PreMessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  for (IMessageFilterUI* f : std::vector<IMessageFilterUI*>(preFilters_)) {
    bool handled = false;
    LRESULT r = f->FilterMessage(msg, wParam, lParam, handled);
    if (handled) {
      result = r;
      return true;
    }
  }
  switch (msg) {
    case WM_KEYDOWN:
      if (wParam != VK_TAB) return false;
      if (focus_ && focus_->GetInterface("RichEdit") && (focus_->GetControlFlags() & kControlFlagWantReturn))
        return false;  // a rich edit that takes tabs keeps them
      SetNextTabControl(GetKeyState(VK_SHIFT) >= 0);
      return true;
    case WM_SYSCHAR: {
      if (!root_) return false;
      char wanted = UpperAscii(static_cast<char>(wParam));
      CControlUI* target = root_->FindControl(
          [](CControlUI* c, void* data) -> CControlUI* {
            char want = *static_cast<char*>(data);
            if (IsLabelClass(c->GetClass()) || c->GetShortcut() == 0) return nullptr;
            return UpperAscii(c->GetShortcut()) == want ? c : nullptr;
          },
          &wanted, kFindVisible | kFindEnabled | kFindMeFirst);
      if (!target) return false;
      target->SetFocus();
      target->Activate();
      return true;
    }
    case WM_SYSKEYDOWN:
      if (focus_) {
        UIEvent e = MakeEvent(UIEventKind::SysKey, focus_, wParam, lParam);
        e.key = static_cast<char>(wParam);
        focus_->DoEvent(e);
      }
      return false;
    default: return false;
  }
}

// ---- mouse ----

bool CUIManager::OnMouseMove(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (!mouseTracking_) {
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_HOVER | TME_LEAVE, hwnd_, kDefaultHoverMs};
    if (tooltip_)
      tme.dwHoverTime = static_cast<DWORD>(SendMessageA(tooltip_, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    TrackMouseEvent(&tme);
    mouseTracking_ = true;
  }
  lastMouse_ = PointOf(lParam);
  CControlUI* under = ControlAt(lastMouse_);
  if (under && under->GetManager() != this) under = nullptr;
  if (under != hover_) {
    if (hover_) {
      UIEvent e = MakeEvent(UIEventKind::MouseLeave, hover_, wParam, lParam);
      hover_->DoEvent(e);
      HideTooltip();
    }
    hover_ = under;
    if (hover_) {
      UIEvent e = MakeEvent(UIEventKind::MouseEnter, hover_, wParam, lParam);
      hover_->DoEvent(e);
    }
  }
  CControlUI* target = pressed_ ? pressed_ : hover_;
  if (target) {
    UIEvent e = MakeEvent(UIEventKind::MouseMove, target, wParam, lParam);
    target->DoEvent(e);
  }
  return false;
}

bool CUIManager::OnMouseHover(WPARAM wParam, LPARAM lParam, LRESULT&) {
  mouseTracking_ = false;  // the next move arms hover and leave again
  lastMouse_ = PointOf(lParam);
  if (hover_) {
    UIEvent e = MakeEvent(UIEventKind::MouseHover, hover_, wParam, lParam);
    hover_->DoEvent(e);
  }
  CControlUI* under = ControlAt(lastMouse_);
  if (!under || under->GetToolTip().IsEmpty()) return true;
  EnsureTooltip();
  if (!tooltip_) return true;
  tooltipText_ = under->GetToolTip();
  toolInfo_.lpszText = const_cast<char*>(tooltipText_.GetData());
  toolInfo_.rect = under->GetPos();
  SendMessageA(tooltip_, TTM_SETMAXTIPWIDTH, 0, under->GetToolTipWidth());
  SendMessageA(tooltip_, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&toolInfo_));
  POINT screen = lastMouse_;
  ClientToScreen(hwnd_, &screen);
  SendMessageA(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x + 12, screen.y + 20));
  SendMessageA(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&toolInfo_));
  return true;
}

bool CUIManager::OnMouseLeave(WPARAM, LPARAM, LRESULT&) {
  HideTooltip();
  mouseTracking_ = false;
  return false;
}

void CUIManager::EnsureTooltip() {
  if (tooltip_ || !hwnd_) return;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                             GetInstance(), nullptr);
  if (!tooltip_) return;
  toolInfo_ = {};
  toolInfo_.cbSize = TTTOOLINFOA_V2_SIZE;
  toolInfo_.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  toolInfo_.hwnd = hwnd_;
  toolInfo_.uId = 1;
  toolInfo_.lpszText = const_cast<char*>("");
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&toolInfo_));
}

void CUIManager::HideTooltip() {
  if (tooltip_) SendMessageA(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolInfo_));
}

bool CUIManager::OnButtonPress(UIEventKind kind, LPARAM lParam) {
  ::SetFocus(hwnd_);
  lastMouse_ = PointOf(lParam);
  CControlUI* c = ControlAt(lastMouse_);
  if (!c || c->GetManager() != this) return false;
  pressed_ = c;
  if (kind != UIEventKind::DoubleClick) c->SetFocus();
  SetCapture(hwnd_);
  mouseCaptured_ = true;
  if (pressed_ != c) return true;  // taking focus changed the tree
  UIEvent e = MakeEvent(kind, c, 0, lParam);
  c->DoEvent(e);
  return true;
}

bool CUIManager::OnLButtonDown(WPARAM, LPARAM lParam, LRESULT&) {
  return OnButtonPress(UIEventKind::ButtonDown, lParam);
}
bool CUIManager::OnLButtonDblClk(WPARAM, LPARAM lParam, LRESULT&) {
  return OnButtonPress(UIEventKind::DoubleClick, lParam);
}
bool CUIManager::OnRButtonDown(WPARAM, LPARAM lParam, LRESULT&) {
  return OnButtonPress(UIEventKind::RButtonDown, lParam);
}

bool CUIManager::OnLButtonUp(WPARAM wParam, LPARAM lParam, LRESULT&) {
  lastMouse_ = PointOf(lParam);
  if (!pressed_) return false;
  CControlUI* c = pressed_;
  pressed_ = nullptr;
  if (mouseCaptured_) ReleaseCapture();
  mouseCaptured_ = false;
  UIEvent e = MakeEvent(UIEventKind::ButtonUp, c, wParam, lParam);
  c->DoEvent(e);
  return true;
}

bool CUIManager::OnContextMenu(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (!pressed_) return false;
  CControlUI* c = pressed_;
  pressed_ = nullptr;
  if (mouseCaptured_) ReleaseCapture();
  mouseCaptured_ = false;
  UIEvent e = MakeEvent(UIEventKind::ContextMenu, c, wParam, lParam);
  c->DoEvent(e);
  return true;
}

bool CUIManager::OnMouseWheel(WPARAM wParam, LPARAM lParam, LRESULT&) { return Wheel(wParam, lParam, false); }

// A tilted wheel (Windows Vista and later) scrolls sideways, as the wheel
// does with Shift held; a tilt to the right moves the view right.
bool CUIManager::OnMouseHWheel(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!Wheel(wParam, lParam, true)) return false;
  result = TRUE;
  return true;
}

bool CUIManager::Wheel(WPARAM wParam, LPARAM lParam, bool sideways) {
  POINT pt = PointOf(lParam);
  ScreenToClient(hwnd_, &pt);
  lastMouse_ = pt;
  CControlUI* c = ControlAt(pt);
  if (!c || c->GetManager() != this) return false;
  int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  if (sideways) delta = -delta;
  UIEvent e =
      MakeEvent(UIEventKind::ScrollWheel, c, MAKELPARAM(delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0), lParam);
  // The message's own key flags are the state when it was sent.
  if (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) e.keyState |= kKeyStateShift;
  if (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) e.keyState |= kKeyStateControl;
  if (sideways) e.keyState |= kKeyStateShift;
  c->DoEvent(e);
  SendMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(lastMouse_.x, lastMouse_.y));
  return true;
}

bool CUIManager::OnSetCursor(WPARAM, LPARAM lParam, LRESULT& result) {
  if (LOWORD(lParam) != HTCLIENT) return false;
  if (mouseCaptured_) {
    result = TRUE;
    return true;
  }
  POINT pt;
  GetCursorPos(&pt);
  ScreenToClient(hwnd_, &pt);
  CControlUI* c = ControlAt(pt);
  if (!c || !(c->GetControlFlags() & kControlFlagSetCursor)) return false;
  UIEvent e = MakeEvent(UIEventKind::SetCursor, c, 0, lParam);
  e.mousePoint = pt;
  c->DoEvent(e);
  result = TRUE;
  return true;
}

// ---- keyboard ----

bool CUIManager::OnKeyDown(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (!focus_) return false;
  UIEvent e = MakeEvent(UIEventKind::KeyDown, focus_, wParam, lParam);
  e.key = static_cast<char>(wParam);
  keyControl_ = focus_;
  focus_->DoEvent(e);
  return true;
}

bool CUIManager::OnKeyUp(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (!keyControl_) return false;
  UIEvent e = MakeEvent(UIEventKind::KeyUp, keyControl_, wParam, lParam);
  e.key = static_cast<char>(wParam);
  keyControl_->DoEvent(e);
  return true;
}

bool CUIManager::OnChar(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (!focus_) return false;
  UIEvent e = MakeEvent(UIEventKind::Char, focus_, wParam, lParam);
  e.key = static_cast<char>(wParam);
  focus_->DoEvent(e);
  return true;
}
