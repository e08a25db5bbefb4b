#include "ui/controls/ComboWnd.h"

#include <windowsx.h>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ComboUI.h"

bool CComboWnd::Open(CComboUI* owner) {
  owner_ = owner;
  CUIManager* m = owner->GetManager();
  RECT rc = owner->GetPos();
  SIZE box = owner->GetDropBoxSize();
  int width = box.cx > 0 ? box.cx : rc.right - rc.left;
  int height = RowHeight() * owner->GetCount();
  if (box.cy > 0 && height > box.cy) height = box.cy;
  if (height <= 0) height = RowHeight();
  POINT origin = {rc.left, rc.bottom};
  ClientToScreen(m->GetPaintWindow(), &origin);
  if (!CreateWnd(m->GetPaintWindow(), nullptr, WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, origin.x, origin.y,
                 width, height))
    return false;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(hwnd_);
  return true;
}

void CComboWnd::Detach() {
  owner_ = nullptr;
  if (hwnd_) {
    DestroyWindow(hwnd_);
  } else {
    delete this;
  }
}

int CComboWnd::RowHeight() const {
  if (!owner_ || !owner_->GetManager()) return 22;
  return owner_->GetManager()->GetFontInfo(owner_->GetListInfo()->font)->metrics.tmHeight + 10;
}

int CComboWnd::RowAt(int y) const {
  int row = y / RowHeight();
  return owner_ && y >= 0 && row < owner_->GetCount() ? row : -1;
}

void CComboWnd::Choose(int row) {
  CComboUI* owner = owner_;
  if (!owner) return;
  owner->CloseDropDown();  // destroys this window
  if (row >= 0) owner->SelectItem(row);
}

void CComboWnd::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  if (owner_) {
    ListInfo* info = owner_->GetListInfo();
    CUIManager* m = owner_->GetManager();
    CRenderEngine::DrawColor(dc, client, info->bkColor ? info->bkColor : 0xFFFFFFFF);
    int h = RowHeight();
    for (int i = 0; i < owner_->GetCount(); ++i) {
      RECT row = {0, i * h, client.right, (i + 1) * h};
      CControlUI* item = owner_->ChildAt(i);
      bool enabled = item->IsEnabled();
      uint32_t bk = !enabled                   ? info->disabledBkColor
                    : i == owner_->GetCurSel() ? info->selectedBkColor
                    : i == hot_                ? info->hotBkColor
                                               : 0;
      uint32_t text = !enabled                   ? info->disabledTextColor
                      : i == owner_->GetCurSel() ? info->selectedTextColor
                      : i == hot_                ? info->hotTextColor
                                                 : info->textColor;
      if (bk) CRenderEngine::DrawColor(dc, row, bk);
      RECT textRc = {row.left + 4, row.top, row.right - 4, row.bottom};
      CRenderEngine::DrawPlainText(dc, m, textRc, item->GetText(), text, info->font,
                                   DT_SINGLELINE | DT_VCENTER);
    }
  }
  EndPaint(hwnd_, &ps);
}

LRESULT CComboWnd::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_MOUSEMOVE: {
      int row = RowAt(GET_Y_LPARAM(lParam));
      if (row != hot_) {
        hot_ = row;
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      int row = RowAt(GET_Y_LPARAM(lParam));
      if (row >= 0 && owner_ && owner_->ChildAt(row)->IsEnabled()) Choose(row);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) Choose(-1);
      if (wParam == VK_RETURN) Choose(hot_);
      return 0;
    case WM_KILLFOCUS:
      if (owner_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      break;
    case WM_CLOSE: Choose(-1); return 0;
    default: break;
  }
  return CallPreviousProc(msg, wParam, lParam);
}

void CComboWnd::OnWindowDestroyed() {
  if (owner_) {
    owner_->drop_ = nullptr;
    owner_->Invalidate();
  }
  delete this;
}
