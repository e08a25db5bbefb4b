// CControlUI: the attributes every control understands, and attribute strings.
#include <cstdio>
#include <cstring>

#include "ui/Core/AttributeString.h"
#include "ui/Core/DpiScale.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

namespace {

using Setter = void (*)(CControlUI* c, const char* v);

RECT ToRect(const vt::SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

void SetPos(CControlUI* c, const char* v) {
  vt::SkinRect r = vt::ParseRect(v);
  c->SetFixedXY(r.left >= 0 ? r.left : r.right, r.top >= 0 ? r.top : r.bottom);
  // Negative sizes are ignored (pos="12,2,0,0" keeps the size set elsewhere).
  long long w = static_cast<long long>(r.right) - r.left;
  long long h = static_cast<long long>(r.bottom) - r.top;
  if (w >= 0 && w <= 0x7FFFFFFF) c->SetFixedWidth(static_cast<int>(w));
  if (h >= 0 && h <= 0x7FFFFFFF) c->SetFixedHeight(static_cast<int>(h));
}

void SetBorderSize(CControlUI* c, const char* v) {
  if (strchr(v, ',')) {
    c->SetBorderSizes(ToRect(vt::ParseRect(v)));
  } else {
    c->SetBorderSize(vt::ParseInt(v));
  }
}

void SetRelativePos(CControlUI* c, const char* v) {
  vt::SkinRect r = vt::ParseRect(v);
  CControlUI::RelativePos& rp = c->GetRelativePos();
  rp.set = true;
  rp.moveX = r.left;
  rp.moveY = r.top;
  rp.zoomX = r.right;
  rp.zoomY = r.bottom;
  rp.parentSize = {0, 0};
}

struct Entry {
  const char* name;
  Setter set;
};

const Entry kAttributes[] = {
    {"name", [](CControlUI* c, const char* v) { c->SetName(v); }},
    {"text", [](CControlUI* c, const char* v) { c->SetText(v); }},
    {"tooltip", [](CControlUI* c, const char* v) { c->SetToolTip(v); }},
    {"userdata", [](CControlUI* c, const char* v) { c->SetUserData(v); }},
    {"pos", SetPos},
    {"float", [](CControlUI* c, const char* v) { c->SetFloat(vt::ParseBool(v)); }},
    {"relativepos", SetRelativePos},
    {"padding", [](CControlUI* c, const char* v) { c->SetPadding(ToRect(vt::ParseRect(v))); }},
    {"width", [](CControlUI* c, const char* v) { c->SetFixedWidth(vt::ParseInt(v)); }},
    {"height", [](CControlUI* c, const char* v) { c->SetFixedHeight(vt::ParseInt(v)); }},
    {"minwidth", [](CControlUI* c, const char* v) { c->SetMinWidth(vt::ParseInt(v)); }},
    {"minheight", [](CControlUI* c, const char* v) { c->SetMinHeight(vt::ParseInt(v)); }},
    {"maxwidth", [](CControlUI* c, const char* v) { c->SetMaxWidth(vt::ParseInt(v)); }},
    {"maxheight", [](CControlUI* c, const char* v) { c->SetMaxHeight(vt::ParseInt(v)); }},
    {"bkcolor", [](CControlUI* c, const char* v) { c->SetBkColor(vt::ParseColor(v)); }},
    {"bkcolor1", [](CControlUI* c, const char* v) { c->SetBkColor(vt::ParseColor(v)); }},
    {"bkcolor2", [](CControlUI* c, const char* v) { c->SetBkColor2(vt::ParseColor(v)); }},
    {"bkcolor3", [](CControlUI* c, const char* v) { c->SetBkColor3(vt::ParseColor(v)); }},
    {"bkimage", [](CControlUI* c, const char* v) { c->SetBkImage(v); }},
    {"bordercolor", [](CControlUI* c, const char* v) { c->SetBorderColor(vt::ParseColor(v)); }},
    {"focusbordercolor", [](CControlUI* c, const char* v) { c->SetFocusBorderColor(vt::ParseColor(v)); }},
    {"bordersize", SetBorderSize},
    {"leftbordersize", [](CControlUI* c, const char* v) { c->SetLeftBorderSize(vt::ParseInt(v)); }},
    {"topbordersize", [](CControlUI* c, const char* v) { c->SetTopBorderSize(vt::ParseInt(v)); }},
    {"rightbordersize", [](CControlUI* c, const char* v) { c->SetRightBorderSize(vt::ParseInt(v)); }},
    {"bottombordersize", [](CControlUI* c, const char* v) { c->SetBottomBorderSize(vt::ParseInt(v)); }},
    {"borderstyle", [](CControlUI* c, const char* v) { c->SetBorderStyle(vt::ParseInt(v)); }},
    {"borderround",
     [](CControlUI* c, const char* v) {
       vt::SkinSize s = vt::ParseSize(v);
       c->SetBorderRound({s.cx, s.cy});
     }},
    {"visible", [](CControlUI* c, const char* v) { c->SetVisible(vt::ParseBool(v)); }},
    {"enabled", [](CControlUI* c, const char* v) { c->SetEnabled(vt::ParseBool(v)); }},
    {"mouse", [](CControlUI* c, const char* v) { c->SetMouseEnabled(vt::ParseBool(v)); }},
    {"keyboard", [](CControlUI* c, const char* v) { c->SetKeyboardEnabled(vt::ParseBool(v)); }},
    {"shortcut", [](CControlUI* c, const char* v) { c->SetShortcut(v[0]); }},
    {"virtualwnd", [](CControlUI* c, const char* v) { c->SetVirtualWnd(v); }},
};

}  // namespace

void CControlUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "menu") == 0) {
    menuEnabled_ = vt::ParseBool(value);
    return;
  }
  if (strcmp(name, "colorhsl") == 0) {
    colorHsl_ = vt::ParseBool(value);
    return;
  }
  for (const Entry& e : kAttributes) {
    if (strcmp(name, e.name) == 0) {
      e.set(this, value);
      return;
    }
  }
  // Names no class knows are ignored.
}

void CControlUI::ApplyAttributeString(const char* list) {
  vt::ForEachAttribute(
      list,
      [](void* self, const char* name, const char* value) {
        static_cast<CControlUI*>(self)->SetLayoutAttribute(name, value);
      },
      this);
}

void CControlUI::SetLayoutAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (!vt::IsPixelAttribute(name)) {
    ApplyAttribute(name, value);
    return;
  }
  bool kept = false;
  for (LayoutPixels& p : layoutPixels_) {
    if (p.name == name) {
      p.value = value;  // the last one written wins, as when applied
      kept = true;
    }
  }
  if (!kept) layoutPixels_.push_back({CUIString(name), CUIString(value)});
  vt::DpiScale scale = manager_ ? manager_->GetDpiScale() : vt::DpiScale();
  if (scale.IsIdentity()) ApplyAttribute(name, value);
  else ApplyAttribute(name, vt::ScalePixelValue(value, scale));
}

void CControlUI::KeepLayoutPixels(const char* name, int pixels) {
  if (!name) return;
  int dpi = manager_ ? manager_->GetDpiScale().Dpi() : vt::kBaseDpi;
  char value[16];
  snprintf(value, sizeof value, "%d", vt::MulDivRound(pixels, vt::kBaseDpi, dpi));
  for (LayoutPixels& p : layoutPixels_) {
    if (p.name == name) {
      p.value = value;
      return;
    }
  }
  layoutPixels_.push_back({CUIString(name), CUIString(value)});
}

void CControlUI::ApplyDpi() {
  if (!manager_) return;
  vt::DpiScale scale = manager_->GetDpiScale();
  // A copy: a class may hand an attribute on to a part of itself.
  std::vector<LayoutPixels> kept(layoutPixels_);
  for (const LayoutPixels& p : kept) ApplyAttribute(p.name, vt::ScalePixelValue(p.value, scale));
  RequestLayout();
}

// ---- setters of appearance ----

void CControlUI::SetBkColor(uint32_t argb) {
  if (bkColor_ == argb) return;
  bkColor_ = argb;
  Invalidate();
}
void CControlUI::SetBkColor2(uint32_t argb) {
  if (bkColor2_ == argb) return;
  bkColor2_ = argb;
  Invalidate();
}
void CControlUI::SetBkColor3(uint32_t argb) {
  if (bkColor3_ == argb) return;
  bkColor3_ = argb;
  Invalidate();
}
void CControlUI::SetBorderColor(uint32_t argb) {
  if (borderColor_ == argb) return;
  borderColor_ = argb;
  Invalidate();
}
void CControlUI::SetFocusBorderColor(uint32_t argb) {
  if (focusBorderColor_ == argb) return;
  focusBorderColor_ = argb;
  Invalidate();
}
void CControlUI::SetBorderSize(int size) {
  borderSize_ = size < 0 ? 0 : size;
  borderSizes_ = {0, 0, 0, 0};
  Invalidate();
}
void CControlUI::SetBorderSizes(const RECT& rc) {
  borderSizes_ = rc;
  Invalidate();
}
void CControlUI::SetLeftBorderSize(int size) {
  borderSizes_.left = size;
  Invalidate();
}
void CControlUI::SetTopBorderSize(int size) {
  borderSizes_.top = size;
  Invalidate();
}
void CControlUI::SetRightBorderSize(int size) {
  borderSizes_.right = size;
  Invalidate();
}
void CControlUI::SetBottomBorderSize(int size) {
  borderSizes_.bottom = size;
  Invalidate();
}
void CControlUI::SetBorderStyle(int style) {
  borderStyle_ = style;
  Invalidate();
}
void CControlUI::SetBorderRound(SIZE round) {
  borderRound_ = round;
  Invalidate();
}
