#include <cstdlib>
#include <cstring>

#include "ui/Core/SkinValues.h"
#include "ui/controls/ProgressGeometry.h"
#include "ui/controls/ProgressUI.h"

CProgressUI::CProgressUI() {
  textStyle_ = DT_SINGLELINE | DT_CENTER;
  SetLayoutAttribute("height", "12");
}

const char* CProgressUI::GetClass() const { return "ProgressUI"; }

void* CProgressUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Progress") == 0) return this;
  return CLabelUI::GetInterface(name);
}

void CProgressUI::SetValue(int value) {
  value_ = value;
  Invalidate();
}
void CProgressUI::SetMinValue(int min) {
  min_ = min;
  Invalidate();
}
void CProgressUI::SetMaxValue(int max) {
  max_ = max;
  Invalidate();
}
void CProgressUI::SetForeImage(const char* image) {
  foreImage_ = image;
  Invalidate();
}

void CProgressUI::ApplyAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  if (strcmp(name, "min") == 0) {
    SetMinValue(atoi(value));
  } else if (strcmp(name, "max") == 0) {
    SetMaxValue(atoi(value));
  } else if (strcmp(name, "value") == 0) {
    SetValue(atoi(value));
  } else if (strcmp(name, "hor") == 0) {
    horizontal_ = vt::ParseBool(value);
    Invalidate();
  } else if (strcmp(name, "isstretchfore") == 0) {
    stretchFore_ = vt::ParseBool(value);  // only "true" is true: "FALSE" crops
    Invalidate();
  } else if (strcmp(name, "foreimage") == 0) {
    SetForeImage(value);
  } else {
    CLabelUI::ApplyAttribute(name, value);
  }
}

void CProgressUI::PaintStatusImage(HDC dc) {
  if (foreImage_.IsEmpty()) return;
  CUIString modifier = vt::ProgressForeModifier(min_, max_, value_, rcItem_.right - rcItem_.left,
                                                rcItem_.bottom - rcItem_.top, horizontal_, stretchFore_);
  DrawImageAt(dc, foreImage_, modifier);
}
