#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/OptionUI.h"

COptionUI::~COptionUI() = default;

const char* COptionUI::GetClass() const { return "OptionUI"; }

void* COptionUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Option") == 0) return this;
  return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
  CButtonUI::SetManager(manager, parent, init);
  if (init && manager && !group_.IsEmpty()) manager->AddOptionGroup(group_, this);
}

void COptionUI::SetGroup(const char* group) {
  group_ = group;
  if (manager_ && !group_.IsEmpty()) manager_->AddOptionGroup(group_, this);
}

void COptionUI::Selected(bool selected) {
  if (selected_ == selected) return;
  selected_ = selected;
  Invalidate();
  if (!manager_) return;
  if (group_.IsEmpty()) {
    manager_->SendNotification(this, "selectchanged");
    return;
  }
  if (!selected_) return;  // cleared by another of its group: silent
  if (const std::vector<CControlUI*>* members = manager_->GetOptionGroup(group_)) {
    for (CControlUI* c : *members) {
      if (c == this) continue;
      COptionUI* other = static_cast<COptionUI*>(c->GetInterface("Option"));
      if (other) other->Selected(false);
    }
  }
  manager_->SendNotification(this, "selectchanged");
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;  // sends "click"
  Selected(group_.IsEmpty() ? !selected_ : true);
  return true;
}

void COptionUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "group") == 0) {
    SetGroup(value);
  } else if (strcmp(name, "selected") == 0) {
    // At load time: no group handling yet (two initially selected options
    // both stay selected until one is clicked).
    selected_ = vt::ParseBool(value);
    Invalidate();
  } else if (strcmp(name, "selectedimage") == 0) {
    selectedImage_ = value;
    Invalidate();
  } else if (strcmp(name, "selectedhotimage") == 0) {
    selectedHotImage_ = value;
    Invalidate();
  } else if (strcmp(name, "selectedbkcolor") == 0) {
    selectedBkColor_ = vt::ParseColor(value);
    Invalidate();
  } else if (strcmp(name, "selectedtextcolor") == 0) {
    selectedTextColor_ = vt::ParseColor(value);
    Invalidate();
  } else {
    CButtonUI::ApplyAttribute(name, value);
  }
}

uint32_t COptionUI::CurrentTextColor() const {
  if (selected_ && IsEnabled() && selectedTextColor_) return selectedTextColor_;
  return CButtonUI::CurrentTextColor();
}

void COptionUI::PaintStatusImage(HDC dc) {
  pushed_ = false;  // never shown pressed
  if (selected_) {
    bool drawn = false;
    if (hot_ && !selectedHotImage_.IsEmpty()) drawn = DrawImage(dc, selectedHotImage_);
    if (!drawn && !selectedImage_.IsEmpty()) drawn = DrawImage(dc, selectedImage_);
    if (!drawn && selectedBkColor_) {
      CRenderEngine::DrawColor(dc, rcPaint_, selectedBkColor_);
      drawn = true;
    }
    if (drawn) {
      DrawImage(dc, foreImage_);
      return;
    }
  }
  PaintButtonImages(dc);
}
