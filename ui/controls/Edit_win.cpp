#include <cstring>

#include "base/CodePage.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/EditWnd.h"

CEditUI::CEditUI() {
  SetLayoutAttribute("textpadding", "4,3,4,3");
  bkColor_ = 0xFFFFFFFF;
}

CEditUI::~CEditUI() { CloseNative(); }

const char* CEditUI::GetClass() const { return "EditUI"; }

void* CEditUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Edit") == 0) return this;
  return CLabelUI::GetInterface(name);
}

unsigned CEditUI::GetControlFlags() const {
  return IsEnabled() ? unsigned(kControlFlagTabStop) | unsigned(kControlFlagSetCursor) : 0u;
}

HWND CEditUI::GetNativeWindow() const { return native_ ? native_->GetHandle() : nullptr; }

void CEditUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  struct Image {
    const char* name;
    CUIString CEditUI::*field;
  };
  static const Image kImages[] = {{"normalimage", &CEditUI::normalImage_},
                                  {"hotimage", &CEditUI::hotImage_},
                                  {"focusedimage", &CEditUI::focusedImage_},
                                  {"disabledimage", &CEditUI::disabledImage_}};
  for (const Image& i : kImages) {
    if (strcmp(name, i.name) == 0) {
      this->*i.field = value;
      Invalidate();
      return;
    }
  }
  if (strcmp(name, "readonly") == 0) {
    readOnly_ = vt::ParseBool(value);
  } else if (strcmp(name, "numberonly") == 0) {
    numberOnly_ = vt::ParseBool(value);
  } else if (strcmp(name, "password") == 0) {
    password_ = vt::ParseBool(value);
    Invalidate();
  } else if (strcmp(name, "maxchar") == 0) {
    maxChar_ = atoi(value);
  } else if (strcmp(name, "nativebkcolor") == 0) {
    nativeBkColor_ = vt::ParseColor(value);
  } else {
    CLabelUI::ApplyAttribute(name, value);
  }
}

RECT CEditUI::NativeRect() const {
  RECT rc = TextArea();
  int h = FontHeight();
  int free = (rc.bottom - rc.top) - h;
  if (free > 0) {
    rc.top += free / 2;
    rc.bottom = rc.top + h;
  }
  return rc;
}

void CEditUI::OpenNative() {
  if (native_ || !manager_ || !manager_->GetPaintWindow() || !IsEnabled() || !IsVisible()) return;
  native_ = new CEditWnd;
  if (!native_->Open(this)) {
    delete native_;
    native_ = nullptr;
  }
}

void CEditUI::CloseNative() {
  if (!native_) return;
  CEditWnd* wnd = native_;
  native_ = nullptr;
  wnd->Detach();  // the window goes; the object deletes itself when it is gone
}

void CEditUI::TextFromNative(const char* text) {
  if (text_ == text) return;
  text_ = text;
  if (manager_) manager_->SendNotification(this, "textchanged");
}

void CEditUI::SetText(const char* text) {
  CLabelUI::SetText(text);
  if (native_) native_->SetText(text_);
}

void CEditUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!enabled) CloseNative();
}

void CEditUI::SetVisible(bool visible) {
  CLabelUI::SetVisible(visible);
  if (!visible) CloseNative();
}

void CEditUI::PlaceAt(const RECT& rc) {
  CLabelUI::PlaceAt(rc);
  if (native_) native_->Move(NativeRect());
}

void CEditUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::SetFocus:
      CLabelUI::DoEvent(event);
      OpenNative();
      return;
    case UIEventKind::ButtonDown:
    case UIEventKind::DoubleClick:
      if (IsEnabled()) {
        OpenNative();
        if (native_) native_->SelectAll();
      }
      return;
    case UIEventKind::SetCursor: ::SetCursor(LoadCursor(nullptr, IDC_IBEAM)); return;
    case UIEventKind::MouseEnter:
      hot_ = IsEnabled();
      Invalidate();
      return;
    case UIEventKind::MouseLeave:
      hot_ = false;
      Invalidate();
      return;
    default: CLabelUI::DoEvent(event);
  }
}

void CEditUI::PaintStatusImage(HDC dc) {
  CUIString* state = nullptr;
  if (!IsEnabled()) {
    state = &disabledImage_;
  } else if (focused_) {
    state = &focusedImage_;
  } else if (hot_) {
    state = &hotImage_;
  }
  if (state && !state->IsEmpty() && DrawImage(dc, *state)) return;
  DrawImage(dc, normalImage_);
}

CUIString CEditUI::DisplayText() const {
  if (!password_) return text_;
  CUIString stars;
  const char* t = text_.GetData();
  size_t len = text_.GetLength();
  for (size_t i = 0; i < len; i += vt::CharSize(t, len, i)) stars += '*';  // a Chinese character counts once
  return stars;
}
