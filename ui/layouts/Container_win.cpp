#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/layouts/ContainerUI.h"

#include "ui/layouts/LayoutFlow.h"

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  deleting_ = true;
  RemoveAll();
  for (ScrollAxis& a : axes_) delete a.bar;
}

const char* CContainerUI::GetClass() const { return "ContainerUI"; }

void* CContainerUI::GetInterface(const char* name) {
  if (name && strcmp(name, "IContainer") == 0) return static_cast<IContainerUI*>(this);
  if (name && strcmp(name, "Container") == 0) return static_cast<CContainerUI*>(this);
  return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::ChildAt(int index) const {
  return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)] : nullptr;
}

int CContainerUI::IndexOf(CControlUI* control) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == control) return static_cast<int>(i);
  }
  return -1;
}

int CContainerUI::GetCount() const { return static_cast<int>(items_.size()); }

bool CContainerUI::Add(CControlUI* control) { return InsertAt(control, GetCount()); }

bool CContainerUI::InsertAt(CControlUI* control, int index) {
  if (!control || index < 0 || index > GetCount()) return false;
  if (manager_) {
    manager_->InitControls(control, this);
  } else {
    control->SetManager(nullptr, this, false);
  }
  control->SetInternVisible(IsVisible());
  items_.insert(items_.begin() + index, control);
  RequestLayout();
  return true;
}

bool CContainerUI::RemoveChild(CControlUI* control) { return RemoveChildAt(IndexOf(control)); }

bool CContainerUI::RemoveChildAt(int index) {
  CControlUI* child = ChildAt(index);
  if (!child) return false;
  items_.erase(items_.begin() + index);
  delete child;  // its destructor releases it from the manager
  if (!deleting_) RequestLayout();
  return true;
}

void CContainerUI::RemoveAll() {
  std::vector<CControlUI*> children;
  children.swap(items_);
  for (CControlUI* c : children) delete c;
  if (!deleting_) RequestLayout();
}

void CContainerUI::SetInset(const RECT& rc) {
  inset_ = rc;
  RequestLayout();
}

void CContainerUI::SetChildPadding(int padding) {
  childPadding_ = padding;
  RequestLayout();
}

void CContainerUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
  for (CControlUI* c : items_) c->SetManager(manager, this, init);
  CControlUI::SetManager(manager, parent, init);
  for (int axis = 0; axis < 2; ++axis) {
    ApplyBarDefaults(axis);
    if (axes_[axis].bar) axes_[axis].bar->SetManager(manager, this, init);
  }
}

void CContainerUI::ApplyDpi() {
  CControlUI::ApplyDpi();
  for (ScrollAxis& a : axes_)
    if (a.bar) a.bar->ApplyDpi();
}

CControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, unsigned flags) {
  // The separator band is the layout's own, over any child.
  if ((flags & kFindHitTest) && data && sepSize_ != 0 && IsVisible() &&
      InSeparator(*static_cast<POINT*>(data)))
    return CControlUI::FindControl(proc, data, flags);
  // The bars lie over the children's strip edges: they are hit first.
  if ((flags & kFindHitTest) && data && IsVisible()) {
    for (ScrollAxis& a : axes_) {
      if (!a.bar || !a.bar->IsVisible() || !PtInRect(&a.bar->GetPos(), *static_cast<POINT*>(data))) continue;
      if (CControlUI* hit = a.bar->FindControl(proc, data, flags)) return hit;
    }
  }
  if ((flags & kFindVisible) && !IsVisible()) return nullptr;
  if ((flags & kFindEnabled) && !IsEnabled()) return nullptr;
  if ((flags & kFindHitTest) && (!data || !PtInRect(&rcItem_, *static_cast<POINT*>(data)))) return nullptr;
  if ((flags & kFindHitTest) && !mouseChild_) return CControlUI::FindControl(proc, data, flags);
  if (flags & kFindMeFirst) {
    CControlUI* me = CControlUI::FindControl(proc, data, flags);
    if (me) return me;
  }
  // Hit tests find the topmost child: the last one drawn.
  if (flags & kFindTopFirst) {
    for (size_t i = items_.size(); i-- > 0;) {
      CControlUI* found = items_[i]->FindControl(proc, data, flags);
      if (found) return found;
    }
  } else {
    for (CControlUI* c : items_) {
      CControlUI* found = c->FindControl(proc, data, flags);
      if (found) return found;
    }
  }
  if (flags & kFindMeFirst) return nullptr;
  return CControlUI::FindControl(proc, data, flags);
}

void CContainerUI::SetVisible(bool visible) {
  if (visible_ == visible) return;
  CControlUI::SetVisible(visible);
  for (CControlUI* c : items_) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  for (CControlUI* c : items_) c->SetInternVisible(IsVisible());
}

RECT CContainerUI::InsetArea() const {
  RECT rc = rcItem_;
  rc.left += inset_.left;
  rc.top += inset_.top;
  rc.right -= inset_.right;
  rc.bottom -= inset_.bottom;
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  return rc;
}

void CContainerUI::PlaceFloating(CControlUI* child) {
  const RECT& p = rcItem_;
  CControlUI::RelativePos& rp = child->GetRelativePos();
  // The parent's size when the relative position first applies is the base
  // that later moves and growth are measured from.
  if (rp.set && rp.parentSize.cx == 0 && rp.parentSize.cy == 0)
    rp.parentSize = {p.right - p.left, p.bottom - p.top};
  vt::RelativeMove rel;
  rel.set = rp.set;
  rel.moveX = rp.moveX;
  rel.moveY = rp.moveY;
  rel.growX = rp.zoomX;
  rel.growY = rp.zoomY;
  rel.parentSize = {rp.parentSize.cx, rp.parentSize.cy};
  vt::SkinRect r = vt::FloatingRect(ToSkinRect(p), child->GetFixedX(), child->GetFixedY(),
                                    child->GetFixedWidth(), child->GetFixedHeight(), rel);
  child->PlaceAt(RECT{r.left, r.top, r.right, r.bottom});
}

// ---- scrolling ----

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
  EnableAxis(kVertical, vertical);
  EnableAxis(kHorizontal, horizontal);
}

void CContainerUI::EnableAxis(int axis, bool on) {
  ScrollAxis& a = axes_[axis];
  if (on == (a.bar != nullptr)) return;
  if (!on) {
    if (manager_) manager_->ReleaseControl(a.bar);
    delete a.bar;
    a.bar = nullptr;
    a.state = vt::ScrollState();
  } else {
    a.bar = new CScrollBarUI;
    a.bar->SetHorizontal(axis == kHorizontal);
    a.bar->SetVisible(false);
    a.bar->SetOwner(
        axis == kHorizontal
            ? [](void* self, int pos) { static_cast<CContainerUI*>(self)->SetScrollPos(pos, true); }
            : [](void* self, int pos) { static_cast<CContainerUI*>(self)->SetScrollPos(pos, false); },
        this);
    a.defaultsPending = true;
    ApplyBarDefaults(axis);
    a.bar->SetManager(manager_, this, false);
  }
  RequestLayout();
}

// A bar takes the window's defaults first, then the container's own style;
// a container without a manager yet (a list's body) waits for one.
void CContainerUI::ApplyBarDefaults(int axis) {
  ScrollAxis& a = axes_[axis];
  if (!a.bar || !a.defaultsPending || !manager_) return;
  a.defaultsPending = false;
  if (const char* defaults =
          manager_->GetDefaultAttributeList(axis == kHorizontal ? "HScrollBar" : "VScrollBar"))
    a.bar->ApplyAttributeString(defaults);
  if (!a.style.IsEmpty()) a.bar->ApplyAttributeString(a.style);
}

void CContainerUI::SetScrollPos(int pos, bool horizontal) {
  ScrollAxis& a = axes_[horizontal ? kHorizontal : kVertical];
  if (!a.bar || !a.state.visible) return;
  if (pos > a.state.range) pos = a.state.range;
  if (pos < 0) pos = 0;
  if (pos == a.state.pos) return;
  a.state.pos = pos;
  PlaceAt(rcItem_);
  Invalidate();
}

void CContainerUI::ScrollIntoView(const RECT& rc) {
  if (!axes_[kVertical].bar || !axes_[kVertical].state.visible) return;
  int pos = axes_[kVertical].state.pos;
  if (rc.top < view_.top) {
    SetScrollPos(pos - (view_.top - rc.top));
  } else if (rc.bottom > view_.bottom) {
    SetScrollPos(pos + (rc.bottom - view_.bottom));
  }
}

// ---- placing ----

// What LayoutScrolled places: the container's own content.
class CContainerUI::Content : public vt::IScrolledContent {
 public:
  explicit Content(CContainerUI* self) : self_(self) {}
  vt::SkinSize Place(const vt::SkinRect& view, vt::SkinSize pos, vt::SkinSize range) override {
    return self_->PlaceContent(ToRECT(view), pos, range);
  }

 private:
  CContainerUI* self_;
};

void CContainerUI::PlaceAt(const RECT& rc) {
  CControlUI::PlaceAt(rc);
  RECT area = InsetArea();
  if (!HasScrollBars()) {
    view_ = area;
    PlaceContent(area, {0, 0}, {0, 0});
  } else {
    ScrollAxis& v = axes_[kVertical];
    ScrollAxis& h = axes_[kHorizontal];
    Content content(this);
    int vWidth = v.bar ? v.bar->GetFixedWidth() : 0;
    int hHeight = h.bar ? h.bar->GetFixedHeight() : 0;
    view_ = ToRECT(vt::LayoutScrolled(ToSkinRect(area), vWidth, v.bar ? &v.state : nullptr, hHeight,
                                      h.bar ? &h.state : nullptr, content));
    // The vertical bar in the strip right of the view, the horizontal one
    // in the strip below it.
    ShowBar(v, view_.bottom - view_.top, {view_.right, view_.top, view_.right + vWidth, view_.bottom});
    ShowBar(h, view_.right - view_.left, {view_.left, view_.bottom, view_.right, view_.bottom + hHeight});
  }
  for (CControlUI* c : items_)
    if (c->IsVisible() && c->IsFloat()) PlaceFloating(c);
}

void CContainerUI::ShowBar(ScrollAxis& a, int viewLength, const RECT& strip) {
  if (!a.bar) return;
  a.bar->SetRange(a.state.range, viewLength);
  a.bar->SetScrollPos(a.state.pos);  // tells us back, which changes nothing now
  a.bar->SetInternVisible(IsVisible());
  a.bar->SetVisible(a.state.visible);
  if (a.state.visible) a.bar->PlaceAt(strip);
}

vt::SkinSize CContainerUI::PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) {
  RECT room = ToRECT(vt::ScrolledRoom(ToSkinRect(view), pos, range));
  CLayoutFlow flow(items_);
  for (size_t i = 0; i < flow.controls.size(); ++i)
    if (!flow.children[i].floating) flow.controls[i]->PlaceAt(room);
  return {vt::CrossExtent(flow.children, true, false), vt::CrossExtent(flow.children, false, false)};
}

// ---- painting and input ----

void CContainerUI::PaintChildren(HDC dc, const RECT& paint, const RECT& clip) {
  RECT childPaint;
  if (!IntersectRect(&childPaint, &paint, &clip)) return;
  for (CControlUI* c : items_) {
    if (!c->IsVisible()) continue;
    RECT meet;
    if (!IntersectRect(&meet, &childPaint, &c->GetPos())) continue;
    if (HasScrollBars() && !c->IsFloat()) {
      // Scrolled children show only inside the view.
      RECT inView;
      if (!IntersectRect(&inView, &childPaint, &view_)) continue;
      CRenderClip scope(dc, inView, inView);
      c->DoPaint(dc, inView);
    } else {
      c->DoPaint(dc, childPaint);
    }
  }
}

void CContainerUI::DoPaint(HDC dc, const RECT& paint) {
  RECT clip;
  if (!IntersectRect(&clip, &paint, &rcItem_)) return;
  CControlUI::DoPaint(dc, paint);
  {
    // Children stay inside the container (and its rounded corners).
    CRenderClip scope(dc, clip, rcItem_, borderRound_.cx, borderRound_.cy);
    PaintChildren(dc, paint, ChildPaintArea());
  }
  for (ScrollAxis& a : axes_)
    if (a.bar && a.bar->IsVisible()) a.bar->DoPaint(dc, paint);
  PaintSeparatorTrack(dc);
}

void CContainerUI::DoEvent(UIEvent& event) {
  if (DoSeparatorEvent(event)) return;
  if (event.kind == UIEventKind::ScrollWheel) {
    ScrollAxis& v = axes_[kVertical];
    ScrollAxis& h = axes_[kHorizontal];
    bool vOn = v.bar && v.state.visible, hOn = h.bar && h.state.visible;
    bool sideways = hOn && ((event.keyState & kKeyStateShift) || !vOn);
    if (sideways || vOn) {
      ScrollAxis& a = sideways ? h : v;
      int step = 3 * a.bar->GetLineSize();
      SetScrollPos(a.state.pos + (LOWORD(event.wParam) == SB_LINEUP ? -step : step), sideways);
      return;
    }
  }
  CControlUI::DoEvent(event);
}

void CContainerUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "inset") == 0) {
    vt::SkinRect r = vt::ParseRect(value);
    SetInset({r.left, r.top, r.right, r.bottom});
  } else if (strcmp(name, "childpadding") == 0) {
    SetChildPadding(vt::ParseInt(value));
  } else if (strcmp(name, "mousechild") == 0) {
    SetMouseChildEnabled(vt::ParseBool(value));
  } else if (strcmp(name, "vscrollbar") == 0 || strcmp(name, "hscrollbar") == 0) {
    EnableAxis(name[0] == 'h' ? kHorizontal : kVertical, vt::ParseBool(value));
  } else if (strcmp(name, "vscrollbarstyle") == 0 || strcmp(name, "hscrollbarstyle") == 0) {
    ScrollAxis& a = axes_[name[0] == 'h' ? kHorizontal : kVertical];
    a.style = value;
    if (a.bar) a.bar->ApplyAttributeString(value);
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}
