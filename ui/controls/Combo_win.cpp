#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ComboWnd.h"

CComboUI::~CComboUI() { CloseDropDown(); }

const char* CComboUI::GetClass() const { return "ComboUI"; }

void* CComboUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Combo") == 0) return this;
  if (name && strcmp(name, "IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
  return CContainerUI::GetInterface(name);
}

unsigned CComboUI::GetControlFlags() const { return IsEnabled() ? unsigned(kControlFlagTabStop) : 0u; }

HWND CComboUI::GetDropWindow() const { return drop_ ? drop_->GetHandle() : nullptr; }

bool CComboUI::Activate() {
  if (!CControlUI::Activate() || drop_ || !manager_) return false;
  drop_ = new CComboWnd;
  if (!drop_->Open(this)) {
    delete drop_;
    drop_ = nullptr;
    return false;
  }
  manager_->SendNotification(this, "dropdown");
  Invalidate();
  return true;
}

void CComboUI::CloseDropDown() {
  if (!drop_) return;
  CComboWnd* wnd = drop_;
  drop_ = nullptr;
  wnd->Detach();
}

void CComboUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (info_.Apply(name, value)) {
    Invalidate();
    return;
  }
  struct Image {
    const char* name;
    CUIString CComboUI::*field;
  };
  static const Image kImages[] = {{"normalimage", &CComboUI::normalImage_},
                                  {"hotimage", &CComboUI::hotImage_},
                                  {"pushedimage", &CComboUI::pushedImage_},
                                  {"focusedimage", &CComboUI::focusedImage_},
                                  {"disabledimage", &CComboUI::disabledImage_}};
  for (const Image& i : kImages) {
    if (strcmp(name, i.name) == 0) {
      this->*i.field = value;
      Invalidate();
      return;
    }
  }
  if (strcmp(name, "textpadding") == 0) {
    vt::SkinRect r = vt::ParseRect(value);
    textPadding_ = {r.left, r.top, r.right, r.bottom};
    Invalidate();
  } else if (strcmp(name, "dropbox") == 0) {
    dropBox_ = value;
  } else if (strcmp(name, "dropboxsize") == 0) {
    vt::SkinSize s = vt::ParseSize(value);
    dropBoxSize_ = {s.cx, s.cy};
  } else {
    CContainerUI::ApplyAttribute(name, value);
  }
}

bool CComboUI::InsertAt(CControlUI* control, int index) {
  if (!CContainerUI::InsertAt(control, index)) return false;
  for (int i = 0; i < GetCount(); ++i) {
    if (IListItemUI* item = static_cast<IListItemUI*>(ChildAt(i)->GetInterface("ListItem"))) {
      item->SetOwner(this);
      item->SetIndex(i);
    }
  }
  if (selected_ >= index) ++selected_;
  return true;
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
  (void)takeFocus;
  if (index < 0 || index >= GetCount()) return false;
  if (index == selected_) return true;
  int old = selected_;
  if (old >= 0) {
    if (IListItemUI* item = static_cast<IListItemUI*>(ChildAt(old)->GetInterface("ListItem")))
      item->Select(false);
  }
  selected_ = index;
  if (IListItemUI* item = static_cast<IListItemUI*>(ChildAt(index)->GetInterface("ListItem")))
    item->Select(true);
  Invalidate();
  if (manager_)
    manager_->SendNotification(this, "itemselect", static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  return true;
}

CUIString CComboUI::GetText() const {
  CControlUI* item = ChildAt(selected_);
  return item ? item->GetText() : CUIString();
}

void CComboUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::ButtonDown:
    case UIEventKind::DoubleClick:
      if (IsEnabled()) captured_ = true;
      Invalidate();
      return;
    case UIEventKind::ButtonUp:
      if (captured_) {
        captured_ = false;
        Invalidate();
        if (PtInRect(&rcItem_, event.mousePoint)) Activate();
      }
      return;
    case UIEventKind::MouseEnter:
      hot_ = IsEnabled();
      Invalidate();
      return;
    case UIEventKind::MouseLeave:
      hot_ = false;
      Invalidate();
      return;
    case UIEventKind::KeyDown:
      if (event.key == VK_DOWN) SelectItem(selected_ + 1);
      if (event.key == VK_UP) SelectItem(selected_ - 1);
      if (event.key == VK_SPACE || event.key == VK_RETURN) Activate();
      return;
    default: CContainerUI::DoEvent(event);
  }
}

// The items are not placed or painted in the combo itself.
void CComboUI::PlaceAt(const RECT& rc) { CControlUI::PlaceAt(rc); }
void CComboUI::DoPaint(HDC dc, const RECT& paint) { CControlUI::DoPaint(dc, paint); }

CControlUI* CComboUI::FindControl(FindControlProc proc, void* data, unsigned flags) {
  if (flags & kFindHitTest) return CControlUI::FindControl(proc, data, flags);
  return CContainerUI::FindControl(proc, data, flags);
}

void CComboUI::PaintStatusImage(HDC dc) {
  CUIString* state = nullptr;
  if (!IsEnabled()) {
    state = &disabledImage_;
  } else if (captured_ || drop_) {
    state = &pushedImage_;
  } else if (hot_) {
    state = &hotImage_;
  } else if (focused_) {
    state = &focusedImage_;
  }
  if (state && !state->IsEmpty() && DrawImage(dc, *state)) return;
  DrawImage(dc, normalImage_);
}

void CComboUI::PaintText(HDC dc) {
  CUIString text = GetText();
  if (text.IsEmpty() || !manager_) return;
  RECT rc = {rcItem_.left + textPadding_.left, rcItem_.top + textPadding_.top,
             rcItem_.right - textPadding_.right, rcItem_.bottom - textPadding_.bottom};
  uint32_t colour = IsEnabled() ? info_.textColor : info_.disabledTextColor;
  CRenderEngine::DrawPlainText(dc, manager_, rc, text, colour, info_.font, DT_SINGLELINE | DT_VCENTER);
}
