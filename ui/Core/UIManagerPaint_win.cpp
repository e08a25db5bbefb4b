// CUIManager: the paint cycle. Pending layouts run first ("windowinit" after
// the first one), then the tree paints the update rectangle into a client-
// sized off-screen bitmap (over the captured backdrop when the background
// is transparent), and that part is copied to the window.
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

void CUIManager::DropOffscreen() {
  // The backdrop stays: it is what the window showed before the toolkit
  // painted, and capturing it again would capture our own frame.
  if (offDc_) {
    SelectObject(offDc_, offOld_);
    DeleteDC(offDc_);
  }
  if (offBitmap_) DeleteObject(offBitmap_);
  offDc_ = nullptr;
  offBitmap_ = nullptr;
  offOld_ = nullptr;
  offBits_ = nullptr;
  offSize_ = {0, 0};
}

void CUIManager::DropBackdrop() {
  if (backDc_) {
    SelectObject(backDc_, backOld_);
    DeleteDC(backDc_);
  }
  if (backBitmap_) DeleteObject(backBitmap_);
  backDc_ = nullptr;
  backBitmap_ = nullptr;
  backOld_ = nullptr;
  backSize_ = {0, 0};
}

// Captured once from the window; a new size keeps what was captured (the
// rest is black) instead of capturing our own painting.
void CUIManager::EnsureBackdrop(int cx, int cy) {
  if (backDc_ && backSize_.cx == cx && backSize_.cy == cy) return;
  HBITMAP bitmap = CRenderEngine::CreateDib(cx, cy, nullptr);
  if (!bitmap) return;
  HDC dc = CreateCompatibleDC(paintDc_);
  HGDIOBJ old = SelectObject(dc, bitmap);
  if (backDc_) {
    BitBlt(dc, 0, 0, backSize_.cx, backSize_.cy, backDc_, 0, 0, SRCCOPY);
  } else {
    BitBlt(dc, 0, 0, cx, cy, paintDc_, 0, 0, SRCCOPY);
  }
  DropBackdrop();
  backDc_ = dc;
  backBitmap_ = bitmap;
  backOld_ = old;
  backSize_ = {cx, cy};
}

bool CUIManager::EnsureOffscreen(int cx, int cy) {
  if (offDc_ && offSize_.cx == cx && offSize_.cy == cy) return true;
  DropOffscreen();
  if (cx <= 0 || cy <= 0) return false;
  offBitmap_ = CRenderEngine::CreateDib(cx, cy, &offBits_);
  if (!offBitmap_) return false;
  offDc_ = CreateCompatibleDC(paintDc_);
  offOld_ = SelectObject(offDc_, offBitmap_);
  offSize_ = {cx, cy};
  if (transparentBk_) EnsureBackdrop(cx, cy);
  return true;
}

namespace {
CControlUI* PlacePending(CControlUI* c, void*) {
  if (c->IsUpdateNeeded()) c->PlaceAt(c->GetPos());
  return nullptr;
}
}  // namespace

void CUIManager::LayoutIfNeeded() {
  if (!layoutNeeded_ || !root_) return;
  layoutNeeded_ = false;
  RECT client;
  GetClientRect(hwnd_, &client);
  if (IsRectEmpty(&client)) return;
  if (root_->IsUpdateNeeded()) {
    root_->PlaceAt(client);
    DropOffscreen();  // the size may have changed
  } else {
    root_->FindControl(PlacePending, nullptr, kFindVisible);
  }
  if (firstLayout_) {
    firstLayout_ = false;
    SendNotification(root_, "windowinit");
  }
}

bool CUIManager::OnPaint(WPARAM, LPARAM, LRESULT&) {
  RECT paint = {0, 0, 0, 0};
  if (!GetUpdateRect(hwnd_, &paint, FALSE)) return true;
  if (!root_) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd_, &ps);
    EndPaint(hwnd_, &ps);
    return true;
  }
  painting_ = true;
  layoutDuringPaint_ = false;
  LayoutIfNeeded();
  if (focusNeeded_) SetNextTabControl(true);
  if (!root_) {
    painting_ = false;
    return true;
  }
  RECT client;
  GetClientRect(hwnd_, &client);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  // Paint what the system asks for now, which may have grown during layout.
  paint = ps.rcPaint;
  if (offscreenPaint_ && EnsureOffscreen(client.right, client.bottom)) {
    if (backDc_) {
      BitBlt(offDc_, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top, backDc_,
             paint.left, paint.top, SRCCOPY);
    }
    root_->DoPaint(offDc_, paint);
    for (CControlUI* c : std::vector<CControlUI*>(postPaint_)) c->DoPostPaint(offDc_, paint);
    if (showDirty_) CRenderEngine::DrawRect(offDc_, paint, 1, 0xFFFF0000);
    BitBlt(dc, paint.left, paint.top, paint.right - paint.left, paint.bottom - paint.top, offDc_, paint.left,
           paint.top, SRCCOPY);
  } else {
    root_->DoPaint(dc, paint);
    for (CControlUI* c : std::vector<CControlUI*>(postPaint_)) c->DoPostPaint(dc, paint);
  }
  EndPaint(hwnd_, &ps);
  painting_ = false;
  // A layout requested while painting paints everything again.
  if (layoutNeeded_ || layoutDuringPaint_) InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

bool CUIManager::OnPrintClient(WPARAM wParam, LPARAM lParam, LRESULT&) {
  if (!root_) return false;
  HDC dc = reinterpret_cast<HDC>(wParam);
  RECT client;
  GetClientRect(hwnd_, &client);
  LayoutIfNeeded();
  root_->DoPaint(dc, client);
  if (lParam & PRF_CHILDREN) {
    for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT rc;
      GetWindowRect(child, &rc);
      MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
      POINT oldOrigin;
      SetWindowOrgEx(dc, -rc.left, -rc.top, &oldOrigin);
      SendMessageA(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
      SetWindowOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    }
  }
  return true;
}
