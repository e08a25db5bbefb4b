#include "ui/controls/ComboWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ComboUI.h"

bool CComboWnd::Open(CComboUI* owner) {
  owner_ = owner;
  CUIManager* m = owner->GetManager();
  RECT rc = owner->GetPos();
  SIZE box = owner->GetDropBoxSize();
  style_ = vt::ParseDropBoxStyle(owner->GetDropBox().GetData());
  style_.borderSize = m->Scale(style_.borderSize);
  style_.insetLeft = m->Scale(style_.insetLeft);
  style_.insetTop = m->Scale(style_.insetTop);
  style_.insetRight = m->Scale(style_.insetRight);
  style_.insetBottom = m->Scale(style_.insetBottom);
  style_.childPadding = m->Scale(style_.childPadding);
  scroll_ = 0;
  scrollX_ = 0;
  contentWidth_ = -1;
  int width = box.cx > 0 ? box.cx : rc.right - rc.left;
  int height = vt::DropBoxHeight(style_, owner->GetCount(), RowHeight(), box.cy);
  POINT origin = {rc.left, rc.bottom};
  ClientToScreen(m->GetPaintWindow(), &origin);
  // A drop box with a border of its own draws it instead of the window's.
  DWORD frame = style_.borderColor && style_.borderSize > 0 ? 0 : WS_BORDER;
  // The rows' height is the client area's: the window's frame comes on top.
  if (frame) height += 2 * GetSystemMetrics(SM_CYBORDER);
  if (!CreateWnd(m->GetPaintWindow(), nullptr, WS_POPUP | frame, WS_EX_TOOLWINDOW, origin.x, origin.y, width,
                 height))
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

vt::DropBoxRows CComboWnd::Rows() const {
  vt::DropBoxRows rows;
  rows.count = owner_ ? owner_->GetCount() : 0;
  rows.rowHeight = RowHeight();
  rows.childPadding = style_.childPadding;
  RECT client = {0, 0, 0, 0};
  if (hwnd_) GetClientRect(hwnd_, &client);
  int border = style_.borderColor ? style_.borderSize : 0;
  rows.top = border + style_.insetTop;
  rows.bottom = client.bottom - border - style_.insetBottom;
  return rows;
}

int CComboWnd::RowAt(int y) const { return owner_ ? Rows().RowAt(y, scroll_) : -1; }

void CComboWnd::ScrollBy(int pixels) {
  int next = Rows().ClampScroll(scroll_ + pixels);
  if (next == scroll_) return;
  scroll_ = next;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

RECT CComboWnd::Inner() const {
  RECT client = {0, 0, 0, 0};
  if (hwnd_) GetClientRect(hwnd_, &client);
  vt::DropBoxRows rows = Rows();
  int border = style_.borderColor ? style_.borderSize : 0;
  return {border + style_.insetLeft, rows.top, client.right - border - style_.insetRight, rows.bottom};
}

// Row texts are drawn 4 pixels in from each side of the row.
int CComboWnd::ContentWidth() {
  if (contentWidth_ >= 0 || !owner_ || !hwnd_) return contentWidth_ < 0 ? 0 : contentWidth_;
  HDC dc = GetDC(hwnd_);
  int widest = 0;
  for (int i = 0; i < owner_->GetCount(); ++i) {
    RECT rc = {0, 0, 0, 0};
    CUIString text = owner_->ChildAt(i)->GetText();
    CRenderEngine::DrawPlainText(dc, owner_->GetManager(), rc, text, 0, owner_->GetListInfo()->font,
                                 DT_SINGLELINE | DT_CALCRECT);
    if (rc.right - rc.left > widest) widest = rc.right - rc.left;
  }
  ReleaseDC(hwnd_, dc);
  contentWidth_ = widest + 8;
  return contentWidth_;
}

void CComboWnd::ScrollSideways(int pixels) {
  if (!style_.hscrollbar) return;
  RECT inner = Inner();
  int next = vt::ClampSideways(scrollX_ + pixels, ContentWidth(), inner.right - inner.left);
  if (next == scrollX_) return;
  scrollX_ = next;
  InvalidateRect(hwnd_, nullptr, FALSE);
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
  PaintTo(dc);
  EndPaint(hwnd_, &ps);
}

void CComboWnd::PaintTo(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (!owner_) return;
  ListInfo* info = owner_->GetListInfo();
  CUIManager* m = owner_->GetManager();
  uint32_t bkColor = style_.bkColor ? style_.bkColor : info->bkColor ? info->bkColor : 0xFFFFFFFF;
  if (style_.bkColor && style_.bkColor2) {
    CRenderEngine::DrawGradient(dc, client, style_.bkColor, style_.bkColor2, true);
  } else {
    CRenderEngine::DrawColor(dc, client, bkColor);
  }
  if (!style_.bkImage.IsEmpty() && !CRenderEngine::DrawImageSpec(dc, m, client, client, style_.bkImage))
    style_.bkImage.Empty();  // a missing image is tried once only
  vt::DropBoxRows rows = Rows();
  int border = style_.borderColor ? style_.borderSize : 0;
  RECT inner = Inner();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  for (int i = 0; i < owner_->GetCount(); ++i) {
    int top = rows.RowTop(i, scroll_);
    if (top >= inner.bottom || top + rows.rowHeight <= inner.top) continue;
    RECT row = {inner.left, top, inner.right, top + rows.rowHeight};
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
    RECT textRc = {row.left + 4 - scrollX_, row.top, row.right - 4, row.bottom};
    if (style_.hscrollbar) textRc.right = std::max(textRc.right, textRc.left + ContentWidth() - 8);
    CRenderEngine::DrawPlainText(dc, m, textRc, item->GetText(), text, info->font,
                                 DT_SINGLELINE | DT_VCENTER);
  }
  // The thumbs: where the view sits in the rows, at the right edge, and
  // sideways, at the bottom edge.
  if (style_.vscrollbar && rows.MaxScroll() > 0) {
    vt::ThumbSpan t = vt::ThumbOf(inner.bottom - inner.top, rows.ContentHeight(), scroll_);
    int top = inner.top + t.offset;
    CRenderEngine::DrawColor(dc, {inner.right - 4, top, inner.right, top + t.length}, 0x80808080);
  }
  int content = style_.hscrollbar ? ContentWidth() : 0, view = inner.right - inner.left;
  if (content > view && view > 0) {
    vt::ThumbSpan t = vt::ThumbOf(view, content, scrollX_);
    int left = inner.left + t.offset;
    CRenderEngine::DrawColor(dc, {left, inner.bottom - 4, left + t.length, inner.bottom}, 0x80808080);
  }
  RestoreDC(dc, saved);
  if (border > 0) CRenderEngine::DrawRect(dc, client, border, style_.borderColor);
}

LRESULT CComboWnd::RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: Paint(); return 0;
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_MOUSEWHEEL:
      if (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) {
        ScrollSideways(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -RowHeight() : RowHeight());
      } else {
        ScrollBy(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -RowHeight() : RowHeight());
      }
      return 0;
    case kMsgMouseHWheel:
      ScrollSideways(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? RowHeight() : -RowHeight());
      return TRUE;
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
