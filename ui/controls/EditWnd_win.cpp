#include "ui/controls/EditWnd.h"

#include <vector>

#include "ui/Core/UIManager.h"
#include "ui/controls/EditUI.h"

namespace {
// Messages the manager reflects to child windows (message + 0x2000).
constexpr UINT kReflectedCommand = WM_COMMAND + 0x2000;
constexpr UINT kReflectedColorEdit = WM_CTLCOLOREDIT + 0x2000;
constexpr UINT kClosePosted = WM_APP + 40;
COLORREF Rgb(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }
}  // namespace

bool CEditWnd::Open(CEditUI* owner) {
  owner_ = owner;
  CUIManager* m = owner->GetManager();
  RECT rc = owner->NativeRect();
  DWORD style = WS_CHILD | ES_AUTOHSCROLL;
  if (owner->IsPassword()) style |= ES_PASSWORD;
  if (owner->IsReadOnly()) style |= ES_READONLY;
  if (owner->IsNumberOnly()) style |= ES_NUMBER;
  if (!CreateWnd(m->GetPaintWindow(), nullptr, style, 0, rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top))
    return false;
  SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(m->GetFont(owner->GetFont())), TRUE);
  SendMessageA(hwnd_, EM_LIMITTEXT, owner->GetMaxChar() > 0 ? owner->GetMaxChar() : 0, 0);
  if (owner->IsPassword()) SendMessageA(hwnd_, EM_SETPASSWORDCHAR, '*', 0);
  SetText(owner->GetText());
  if (owner->GetNativeBkColor()) brush_ = CreateSolidBrush(Rgb(owner->GetNativeBkColor()));
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  SetFocus(hwnd_);
  return true;
}

void CEditWnd::Detach() {
  owner_ = nullptr;
  if (hwnd_) {
    DestroyWindow(hwnd_);
  } else {
    delete this;
  }
}

void CEditWnd::SetText(const char* text) {
  settingText_ = true;
  SetWindowTextA(hwnd_, text);
  settingText_ = false;
}

void CEditWnd::SelectAll() { SendMessageA(hwnd_, EM_SETSEL, 0, -1); }

void CEditWnd::Move(const RECT& rc) {
  MoveWindow(hwnd_, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
}

void CEditWnd::CopyTextToOwner() {
  if (!owner_ || settingText_) return;
  int len = GetWindowTextLengthA(hwnd_);
  if (len < 0) len = 0;
  std::vector<char> buf(static_cast<size_t>(len) + 1, '\0');
  GetWindowTextA(hwnd_, buf.data(), len + 1);
  owner_->TextFromNative(buf.data());
}

LRESULT CEditWnd::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KILLFOCUS: {
      LRESULT r = CallPreviousProc(msg, wParam, lParam);
      PostMessageA(hwnd_, kClosePosted, 0, 0);  // not while the focus is moving
      return r;
    }
    case kClosePosted:
      if (GetFocus() != hwnd_) {
        if (owner_) owner_->native_ = nullptr;
        owner_ = nullptr;
        DestroyWindow(hwnd_);
      }
      return 0;
    case kReflectedCommand:
      if (HIWORD(wParam) == EN_CHANGE) CopyTextToOwner();
      return 0;
    case kReflectedColorEdit:
      if (!brush_) break;
      SetBkColor(reinterpret_cast<HDC>(wParam), Rgb(owner_ ? owner_->GetNativeBkColor() : 0xFFFFFF));
      return reinterpret_cast<LRESULT>(brush_);
    case WM_KEYDOWN:
      if (wParam == VK_RETURN && owner_ && owner_->GetManager()) {
        owner_->GetManager()->SendNotification(owner_, "return");
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN) return 0;  // no beep
      break;
    default: break;
  }
  return CallPreviousProc(msg, wParam, lParam);
}

void CEditWnd::OnWindowDestroyed() {
  if (owner_) {
    owner_->native_ = nullptr;
    owner_->Invalidate();
  }
  if (brush_) DeleteObject(brush_);
  delete this;
}
