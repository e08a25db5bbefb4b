#include <cstring>

#include "ui/Core/UIManager.h"
#include "ui/layouts/LayoutFlow.h"
#include "ui/layouts/TabLayoutUI.h"

const char* CTabLayoutUI::GetClass() const { return "TabLayoutUI"; }

void* CTabLayoutUI::GetInterface(const char* name) {
  if (name && strcmp(name, "TabLayout") == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CTabLayoutUI::ApplyAttribute(const char* name, const char* value) {
  if (name && value && strcmp(name, "selectedid") == 0) {
    // At load time the window does not listen yet: the page changes silently.
    int index = vt::ParseInt(value);
    if (index >= 0 && index < GetCount()) {
      current_ = index;
      ShowOnly(index);
    }
    return;
  }
  CContainerUI::ApplyAttribute(name, value);
}

void CTabLayoutUI::ShowOnly(int index) {
  for (int i = 0; i < GetCount(); ++i) ChildAt(i)->SetVisible(i == index);
}

bool CTabLayoutUI::Add(CControlUI* control) { return InsertAt(control, GetCount()); }

bool CTabLayoutUI::InsertAt(CControlUI* control, int index) {
  if (!CContainerUI::InsertAt(control, index)) return false;
  if (current_ < 0 && control->IsVisible()) {
    current_ = index;
  } else {
    if (index <= current_) ++current_;
    control->SetVisible(false);
  }
  return true;
}

bool CTabLayoutUI::RemoveChildAt(int index) {
  if (!ChildAt(index)) return false;
  bool wasCurrent = index == current_;
  if (index < current_) --current_;
  if (!CContainerUI::RemoveChildAt(index)) return false;
  if (wasCurrent) {
    current_ = GetCount() > 0 ? 0 : -1;
    if (current_ >= 0) ChildAt(current_)->SetVisible(true);
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  current_ = -1;
  CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == current_) return true;
  int old = current_;
  current_ = index;
  ShowOnly(index);
  CControlUI* page = ChildAt(index);
  page->RequestLayout();
  RequestParentLayout();
  if (manager_) {
    manager_->SetFocusControl(nullptr);
    manager_->SetNextTabControl();
    manager_->SendNotification(this, "tabselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  }
  return true;
}

// Only the current page is placed: in the view, shifted by the scroll
// positions, with room for the scroll ranges.
vt::SkinSize CTabLayoutUI::PlaceContent(const RECT& view, vt::SkinSize pos, vt::SkinSize range) {
  CControlUI* c = ChildAt(current_);
  if (!c || !c->IsVisible() || c->IsFloat()) return {0, 0};
  vt::LayoutChild page;
  page.padding = ToSkinRect(c->GetPadding());
  page.minWidth = c->GetMinWidth();
  page.maxWidth = c->GetMaxWidth();
  page.minHeight = c->GetMinHeight();
  page.maxHeight = c->GetMaxHeight();
  page.fixedWidth = c->GetFixedWidth();
  page.fixedHeight = c->GetFixedHeight();
  vt::SkinRect room = vt::ScrolledRoom(ToSkinRect(view), pos, range);
  c->PlaceAt(ToRECT(vt::TabPageRect(room, page, page.fixedWidth, page.fixedHeight)));
  return {vt::ChildExtent(page, true, true), vt::ChildExtent(page, false, true)};
}
