#include <cstring>

#include "ui/Core/UIManager.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/layouts/LayoutFlow.h"
#include "ui/layouts/VerticalLayoutUI.h"

CVerticalLayoutUI::~CVerticalLayoutUI() { delete vbar_; }

const char* CVerticalLayoutUI::GetClass() const { return "VerticalLayoutUI"; }

void* CVerticalLayoutUI::GetInterface(const char* name) {
  if (name && strcmp(name, "VerticalLayout") == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "vscrollbar") == 0) {
    EnableScrollBar(vt::ParseBool(value));
  } else if (strcmp(name, "vscrollbarstyle") == 0) {
    vbarStyle_ = value;
    if (vbar_) vbar_->ApplyAttributeString(value);
  } else if (strcmp(name, "hscrollbar") == 0 || strcmp(name, "hscrollbarstyle") == 0 ||
             strcmp(name, "sepheight") == 0 || strcmp(name, "sepimm") == 0) {
    // No horizontal bar and no separator band: nothing in the layouts uses them.
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

void CVerticalLayoutUI::EnableScrollBar(bool vertical) {
  if (vertical == (vbar_ != nullptr)) return;
  if (!vertical) {
    if (manager_) manager_->ReleaseControl(vbar_);
    delete vbar_;
    vbar_ = nullptr;
    scroll_ = vt::ScrollState();
  } else {
    vbar_ = new CScrollBarUI;
    vbar_->SetVisible(false);
    vbar_->SetOwner([](void* self, int pos) { static_cast<CVerticalLayoutUI*>(self)->SetScrollPos(pos); },
                    this);
    vbarDefaultsPending_ = true;
    ApplyBarDefaults();
    vbar_->SetManager(manager_, this, false);
  }
  RequestLayout();
}

// The bar takes the window's "VScrollBar" defaults first, then the
// layout's own style; a layout without a manager yet (a list's body) waits
// for one.
void CVerticalLayoutUI::ApplyBarDefaults() {
  if (!vbar_ || !vbarDefaultsPending_ || !manager_) return;
  vbarDefaultsPending_ = false;
  if (const char* defaults = manager_->GetDefaultAttributeList("VScrollBar"))
    vbar_->ApplyAttributeString(defaults);
  if (!vbarStyle_.IsEmpty()) vbar_->ApplyAttributeString(vbarStyle_);
}

void CVerticalLayoutUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
  CContainerUI::SetManager(manager, parent, init);
  ApplyBarDefaults();
  if (vbar_) vbar_->SetManager(manager, this, init);
}

void CVerticalLayoutUI::ApplyDpi() {
  CContainerUI::ApplyDpi();
  if (vbar_) vbar_->ApplyDpi();
}

void CVerticalLayoutUI::PlaceAt(const RECT& rc) {
  CControlUI::PlaceAt(rc);
  RECT area = FlowArea();
  CLayoutFlow flow(items_);
  vt::SkinRect r = ToSkinRect(area);
  if (vbar_) {
    int barWidth = vbar_->GetFixedWidth();
    vt::LayoutVerticalScrolled(r, barWidth, scroll_, childPadding_, flow.children, flow, flow.rects);
    viewHeight_ = r.Height();
    vbar_->SetRange(scroll_.range, viewHeight_);
    vbar_->SetScrollPos(scroll_.pos);  // tells us back, which changes nothing now
    vbar_->SetInternVisible(IsVisible());
    vbar_->SetVisible(scroll_.visible);
    if (scroll_.visible) vbar_->PlaceAt({area.right - barWidth, area.top, area.right, area.bottom});
  } else {
    vt::LayoutVertical(r, {r.Width(), r.Height()}, 0, childPadding_, flow.children, flow, flow.rects);
  }
  for (size_t i = 0; i < flow.controls.size(); ++i) {
    if (flow.children[i].floating) {
      PlaceFloating(flow.controls[i]);
    } else {
      flow.controls[i]->PlaceAt(ToRECT(flow.rects[i]));
    }
  }
}

void CVerticalLayoutUI::SetScrollPos(int pos) {
  if (!vbar_ || !scroll_.visible) return;
  if (pos > scroll_.range) pos = scroll_.range;
  if (pos < 0) pos = 0;
  if (pos == scroll_.pos) return;
  scroll_.pos = pos;
  PlaceAt(rcItem_);
  Invalidate();
}

void CVerticalLayoutUI::ScrollIntoView(const RECT& rc) {
  if (!vbar_ || !scroll_.visible) return;
  RECT area = FlowArea();
  if (rc.top < area.top) {
    SetScrollPos(scroll_.pos - (area.top - rc.top));
  } else if (rc.bottom > area.bottom) {
    SetScrollPos(scroll_.pos + (rc.bottom - area.bottom));
  }
}

void CVerticalLayoutUI::DoEvent(UIEvent& event) {
  if (event.kind == UIEventKind::ScrollWheel && vbar_ && scroll_.visible) {
    int step = 3 * vbar_->GetLineSize();
    SetScrollPos(scroll_.pos + (event.wParam == SB_LINEUP ? -step : step));
    return;
  }
  CContainerUI::DoEvent(event);
}

void CVerticalLayoutUI::DoPaint(HDC dc, const RECT& paint) {
  CContainerUI::DoPaint(dc, paint);
  if (vbar_ && vbar_->IsVisible()) vbar_->DoPaint(dc, paint);
}

CControlUI* CVerticalLayoutUI::FindControl(FindControlProc proc, void* data, unsigned flags) {
  if (vbar_ && vbar_->IsVisible() && (flags & kFindHitTest) && IsVisible() && data &&
      PtInRect(&vbar_->GetPos(), *static_cast<POINT*>(data))) {
    CControlUI* hit = vbar_->FindControl(proc, data, flags);
    if (hit) return hit;
  }
  return CContainerUI::FindControl(proc, data, flags);
}
