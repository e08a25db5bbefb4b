#include <cstring>

#include "ui/Core/MarkupText.h"
#include "ui/Core/Render.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/TextAlign.h"

namespace {

RECT ToRect(const vt::SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The text-effect attributes of labels (gradient, shadow, stroke drawn with
// GDI+ when "enabledeffect" is on); no layout turns the effect on, so they
// are accepted and have no effect.
const char* const kEffectAttributes[] = {
    "enabledeffect",  "rhaa",          "transshadow",   "transtext",        "transshadow1",
    "transtext1",     "gradientangle", "enabledstroke", "enabledshadow",    "transstroke",
    "gradientlength", "shadowoffset",  "textcolor1",    "textshadowcolora", "textshadowcolorb",
    "strokecolor"};

}  // namespace

CLabelUI::CLabelUI() = default;

const char* CLabelUI::GetClass() const { return "LabelUI"; }

void* CLabelUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Label") == 0) return this;
  return CControlUI::GetInterface(name);
}

void CLabelUI::SetFont(int index) {
  font_ = index;
  Invalidate();
}
void CLabelUI::SetTextColor(uint32_t argb) {
  if (textColor_ == argb) return;
  textColor_ = argb;
  Invalidate();
}
void CLabelUI::SetDisabledTextColor(uint32_t argb) {
  if (disabledTextColor_ == argb) return;
  disabledTextColor_ = argb;
  Invalidate();
}
void CLabelUI::SetTextPadding(const RECT& rc) {
  textPadding_ = rc;
  Invalidate();
}
void CLabelUI::SetTextStyle(UINT style) {
  textStyle_ = style;
  Invalidate();
}
void CLabelUI::SetShowHtml(bool on) {
  showHtml_ = on;
  Invalidate();
}

void CLabelUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "font") == 0) {
    SetFont(atoi(value));
  } else if (strcmp(name, "textcolor") == 0) {
    SetTextColor(vt::ParseColor(value));
  } else if (strcmp(name, "disabledtextcolor") == 0) {
    SetDisabledTextColor(vt::ParseColor(value));
  } else if (strcmp(name, "textpadding") == 0) {
    SetTextPadding(ToRect(vt::ParseRect(value)));
  } else if (strcmp(name, "align") == 0) {
    SetTextStyle(vt::ApplyAlignWords(value, textStyle_));
  } else if (strcmp(name, "endellipsis") == 0) {
    SetTextStyle(vt::ParseBool(value) ? (textStyle_ | DT_END_ELLIPSIS) : (textStyle_ & ~DT_END_ELLIPSIS));
  } else if (strcmp(name, "showhtml") == 0) {
    SetShowHtml(vt::ParseBool(value));
  } else {
    for (const char* effect : kEffectAttributes) {
      if (strcmp(name, effect) == 0) return;
    }
    CControlUI::ApplyAttribute(name, value);
  }
}

int CLabelUI::FontHeight() const {
  if (!manager_) return 12;
  return manager_->GetFontInfo(font_)->metrics.tmHeight;
}

SIZE CLabelUI::DesiredSize(SIZE available) {
  (void)available;
  if (fixedHeight_ > 0) return {fixedWidth_, fixedHeight_};
  return {fixedWidth_, FontHeight() + 4};
}

uint32_t CLabelUI::CurrentTextColor() const {
  if (!IsEnabled()) {
    if (disabledTextColor_) return disabledTextColor_;
    return manager_ ? manager_->GetDefaultDisabledColor() : 0xFFA7A6AA;
  }
  if (textColor_) return textColor_;
  return manager_ ? manager_->GetDefaultFontColor() : 0xFF000000;
}

RECT CLabelUI::TextArea() const {
  RECT rc = rcItem_;
  rc.left += textPadding_.left;
  rc.top += textPadding_.top;
  rc.right -= textPadding_.right;
  rc.bottom -= textPadding_.bottom;
  return rc;
}

void CLabelUI::DrawLabelText(HDC dc, RECT rc, const char* text, uint32_t colour, UINT style) {
  if (!text || !*text || !manager_) return;
  colour = ShownColor(colour);
  if (showHtml_) {
    int links = 0;
    DrawMarkupText(dc, manager_, rc, text, colour, nullptr, nullptr, links, 0, style);
  } else {
    CRenderEngine::DrawPlainText(dc, manager_, rc, text, colour, font_, style);
  }
}

void CLabelUI::PaintText(HDC dc) {
  CUIString text = DisplayText();
  if (text.IsEmpty()) return;
  DrawLabelText(dc, TextArea(), text, CurrentTextColor(), textStyle_ | DT_SINGLELINE);
}
