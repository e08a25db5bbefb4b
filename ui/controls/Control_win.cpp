// CControlUI: tree, state, position, events.
#include "ui/controls/ControlUI.h"

#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  StopGif();
  if (manager_) manager_->ReleaseControl(this);
}

const char* CControlUI::GetClass() const { return "ControlUI"; }

void* CControlUI::GetInterface(const char* name) {
  return name && strcmp(name, "Control") == 0 ? this : nullptr;
}

unsigned CControlUI::GetControlFlags() const { return 0; }

CUIString CControlUI::FindVirtualWnd() const {
  for (const CControlUI* c = this; c; c = c->parent_) {
    if (!c->virtualWnd_.IsEmpty()) return c->virtualWnd_;
  }
  return CUIString();
}

void CControlUI::SetVirtualWnd(const char* name) {
  virtualWnd_ = name;
  if (manager_ && !virtualWnd_.IsEmpty()) manager_->SetUsesVirtualWindows(true);
}

void CControlUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
  manager_ = manager;
  parent_ = parent;
  if (init && manager_) {
    if (!virtualWnd_.IsEmpty()) manager_->SetUsesVirtualWindows(true);
    // A control made in code had its layout pixels applied before it had a
    // window to take the scale from.
    if (!layoutPixels_.empty() && !manager_->GetDpiScale().IsIdentity()) ApplyDpi();
    Init();
  }
}

void CControlUI::Init() { DoInit(); }

CControlUI* CControlUI::FindControl(FindControlProc proc, void* data, unsigned flags) {
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if (flags & kFindHitTest) {
    if (!mouseEnabled_ || !data || !PtInRect(&rcItem_, *static_cast<POINT*>(data))) return nullptr;
  }
  return proc(this, data);
}

void CControlUI::SetText(const char* text) {
  if (text_ == (text ? text : "")) return;
  text_ = text;
  Invalidate();
}

void CControlUI::SetToolTip(const char* text) {
  tooltip_ = text;
  tooltip_.Replace("<n>", "\r\n");
}

void CControlUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  bool wasVisible = IsVisible();
  visible_ = visible;
  if (focused_ && !visible && manager_) manager_->SetFocusControl(nullptr);
  if (wasVisible != IsVisible()) RequestParentLayout();
}

void CControlUI::SetInternVisible(bool visible) {
  internVisible_ = visible;
  if (!visible && focused_ && manager_) manager_->SetFocusControl(nullptr);
}

void CControlUI::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled && focused_ && manager_) manager_->SetFocusControl(nullptr);
  Invalidate();
}

void CControlUI::SetFocus() {
  if (manager_) manager_->SetFocusControl(this);
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

void CControlUI::PlaceAt(const RECT& rc) {
  RECT r = rc;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  RECT old = rcItem_;
  rcItem_ = r;
  updateNeeded_ = false;
  if (!manager_) return;
  RECT both;
  UnionRect(&both, &old, &rcItem_);
  manager_->Invalidate(both);
}

SIZE CControlUI::DesiredSize(SIZE available) {
  (void)available;
  return {fixedWidth_, fixedHeight_};
}

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  fixedWidth_ = cx;
  RequestParentLayout();
}

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  fixedHeight_ = cy;
  RequestParentLayout();
}

void CControlUI::SetFixedXY(int x, int y) {
  fixedX_ = x;
  fixedY_ = y;
  RequestParentLayout();
}

void CControlUI::SetMinWidth(int cx) {
  if (cx < 0) return;
  minWidth_ = cx;
  RequestParentLayout();
}
void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0) return;
  maxWidth_ = cx;
  RequestParentLayout();
}
void CControlUI::SetMinHeight(int cy) {
  if (cy < 0) return;
  minHeight_ = cy;
  RequestParentLayout();
}
void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0) return;
  maxHeight_ = cy;
  RequestParentLayout();
}

void CControlUI::SetPadding(const RECT& rc) {
  padding_ = rc;
  RequestParentLayout();
}

void CControlUI::SetFloat(bool on) {
  if (float_ == on) return;
  float_ = on;
  RequestParentLayout();
}

void CControlUI::Invalidate() {
  if (!IsVisible() || !manager_) return;
  RECT rc = rcItem_;
  // Only what the ancestors show can change on the screen.
  for (CControlUI* p = parent_; p; p = p->parent_) {
    RECT clipped;
    if (!IntersectRect(&clipped, &rc, &p->rcItem_)) return;
    rc = clipped;
  }
  manager_->Invalidate(rc);
}

void CControlUI::RequestLayout() {
  updateNeeded_ = true;
  Invalidate();
  if (manager_) manager_->NeedLayout();
}

void CControlUI::RequestParentLayout() {
  RequestLayout();
  if (parent_) {
    parent_->RequestLayout();
  }
}

void CControlUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::SetCursor: ::SetCursor(LoadCursor(nullptr, IDC_ARROW)); return;
    case UIEventKind::SetFocus:
      focused_ = true;
      Invalidate();
      return;
    case UIEventKind::KillFocus:
      focused_ = false;
      Invalidate();
      return;
    case UIEventKind::Timer:
      if (event.wParam == kGifTimerId && gif_) AdvanceGif();
      if (manager_) manager_->SendNotification(this, "timer", event.wParam, event.lParam);
      return;
    case UIEventKind::ContextMenu:
      if (menuEnabled_ && manager_) manager_->SendNotification(this, "menu", event.wParam, event.lParam);
      return;
    default: break;
  }
  if (parent_) parent_->DoEvent(event);
}

void CControlUI::AddNotifyListener(NotifyListener listener, void* context) {
  if (listener) listeners_.push_back({listener, context});
}

void CControlUI::NotifyListeners(UINotification& msg) {
  // A listener may add listeners: walk by index over the count at the start.
  size_t n = listeners_.size();
  for (size_t i = 0; i < n && i < listeners_.size(); ++i) listeners_[i].fn(listeners_[i].context, msg);
}
