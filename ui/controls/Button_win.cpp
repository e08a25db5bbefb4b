#include <cstring>

#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ButtonUI.h"

CButtonUI::CButtonUI() { textStyle_ = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

const char* CButtonUI::GetClass() const { return "ButtonUI"; }

void* CButtonUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Button") == 0) return this;
  return CLabelUI::GetInterface(name);
}

unsigned CButtonUI::GetControlFlags() const {
  return (IsKeyboardEnabled() ? unsigned(kControlFlagTabStop) : 0u) |
         (IsEnabled() ? unsigned(kControlFlagSetCursor) : 0u);
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (manager_) manager_->SendNotification(this, "click");
  return true;
}

void CButtonUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (!enabled) hot_ = captured_ = pushed_ = false;
}

void CButtonUI::DoEvent(UIEvent& event) {
  switch (event.kind) {
    case UIEventKind::ButtonDown:
    case UIEventKind::DoubleClick:
      if (IsEnabled() && PtInRect(&rcItem_, event.mousePoint)) {
        captured_ = pushed_ = true;
        Invalidate();
      }
      return;
    case UIEventKind::MouseMove:
      if (captured_) {
        bool over = PtInRect(&rcItem_, event.mousePoint);
        if (over != pushed_) {
          pushed_ = over;
          Invalidate();
        }
      }
      return;
    case UIEventKind::ButtonUp:
      if (captured_) {
        captured_ = pushed_ = false;
        Invalidate();
        if (PtInRect(&rcItem_, event.mousePoint)) Activate();
      }
      return;
    case UIEventKind::MouseEnter:
      if (IsEnabled()) {
        hot_ = true;
        Invalidate();
      }
      return;
    case UIEventKind::MouseLeave:
      if (hot_) {
        hot_ = false;
        Invalidate();
      }
      return;
    case UIEventKind::SetCursor: ::SetCursor(LoadCursor(nullptr, IDC_HAND)); return;
    case UIEventKind::KeyDown:
      if (IsKeyboardEnabled() && (event.key == VK_SPACE || event.key == VK_RETURN)) {
        Activate();
        return;
      }
      break;
    default: break;
  }
  CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(const char* image) {
  normalImage_ = image;
  Invalidate();
}
void CButtonUI::SetHotImage(const char* image) {
  hotImage_ = image;
  Invalidate();
}
void CButtonUI::SetPushedImage(const char* image) {
  pushedImage_ = image;
  Invalidate();
}
void CButtonUI::SetDisabledImage(const char* image) {
  disabledImage_ = image;
  Invalidate();
}

void CButtonUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  struct Image {
    const char* name;
    CUIString CButtonUI::*field;
  };
  static const Image kImages[] = {
      {"normalimage", &CButtonUI::normalImage_},     {"hotimage", &CButtonUI::hotImage_},
      {"pushedimage", &CButtonUI::pushedImage_},     {"focusedimage", &CButtonUI::focusedImage_},
      {"disabledimage", &CButtonUI::disabledImage_}, {"foreimage", &CButtonUI::foreImage_},
      {"hotforeimage", &CButtonUI::hotForeImage_}};
  for (const Image& i : kImages) {
    if (strcmp(name, i.name) == 0) {
      this->*i.field = value;
      Invalidate();
      return;
    }
  }
  struct Colour {
    const char* name;
    uint32_t CButtonUI::*field;
  };
  static const Colour kColours[] = {{"hotbkcolor", &CButtonUI::hotBkColor_},
                                    {"hottextcolor", &CButtonUI::hotTextColor_},
                                    {"pushedtextcolor", &CButtonUI::pushedTextColor_},
                                    {"focusedtextcolor", &CButtonUI::focusedTextColor_}};
  for (const Colour& c : kColours) {
    if (strcmp(name, c.name) == 0) {
      this->*c.field = vt::ParseColor(value);
      Invalidate();
      return;
    }
  }
  CLabelUI::ApplyAttribute(name, value);
}

SIZE CButtonUI::DesiredSize(SIZE available) {
  (void)available;
  if (fixedHeight_ > 0) return {fixedWidth_, fixedHeight_};
  return {fixedWidth_, FontHeight() + 8};
}

uint32_t CButtonUI::CurrentTextColor() const {
  if (IsEnabled()) {
    if (pushed_ && pushedTextColor_) return pushedTextColor_;
    if (hot_ && hotTextColor_) return hotTextColor_;
    if (focused_ && focusedTextColor_) return focusedTextColor_;
  }
  return CLabelUI::CurrentTextColor();
}

void CButtonUI::PaintButtonImages(HDC dc) {
  CUIString* state = nullptr;
  bool hot = false;
  if (!IsEnabled()) {
    state = &disabledImage_;
  } else if (pushed_) {
    state = &pushedImage_;
  } else if (hot_) {
    state = &hotImage_;
    hot = true;
  } else if (focused_) {
    state = &focusedImage_;
  }
  bool drawn = false;
  if (state && !state->IsEmpty()) drawn = DrawImage(dc, *state);
  if (!drawn && hot && hotBkColor_) {
    CRenderEngine::DrawColor(dc, rcPaint_, hotBkColor_);
    drawn = true;
  }
  if (!drawn) DrawImage(dc, normalImage_);
  if (hot && !hotForeImage_.IsEmpty()) {
    DrawImage(dc, hotForeImage_);
  } else {
    DrawImage(dc, foreImage_);
  }
}

void CButtonUI::PaintStatusImage(HDC dc) { PaintButtonImages(dc); }
