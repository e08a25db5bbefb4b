#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/layouts/ContainerUI.h"

#include "ui/layouts/LayoutFlow.h"

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  deleting_ = true;
  RemoveAll();
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
}

CControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, unsigned flags) {
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

void CContainerUI::PlaceAt(const RECT& rc) {
  CControlUI::PlaceAt(rc);
  RECT area = InsetArea();
  for (CControlUI* c : items_) {
    if (!c->IsVisible()) continue;
    if (c->IsFloat()) {
      PlaceFloating(c);
    } else {
      c->PlaceAt(area);
    }
  }
}

void CContainerUI::PaintChildren(HDC dc, const RECT& paint, const RECT& clip) {
  RECT childPaint;
  if (!IntersectRect(&childPaint, &paint, &clip)) return;
  for (CControlUI* c : items_) {
    if (!c->IsVisible()) continue;
    RECT meet;
    if (!IntersectRect(&meet, &childPaint, &c->GetPos())) continue;
    c->DoPaint(dc, childPaint);
  }
}

void CContainerUI::DoPaint(HDC dc, const RECT& paint) {
  RECT clip;
  if (!IntersectRect(&clip, &paint, &rcItem_)) return;
  CControlUI::DoPaint(dc, paint);
  // Children stay inside the container (and its rounded corners).
  CRenderClip scope(dc, clip, rcItem_, borderRound_.cx, borderRound_.cy);
  PaintChildren(dc, paint, rcItem_);
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
  } else {
    CControlUI::ApplyAttribute(name, value);
  }
}
