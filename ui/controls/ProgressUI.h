// CProgressUI (tag "Progress"): a label with a fore image over the part
// from min to value, stretched into that part or cropped to it
// ("isstretchfore"), left to right or ("hor" false) bottom to top.
#pragma once

#include "ui/controls/LabelUI.h"

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  const char* GetClass() const override;          // "ProgressUI"
  void* GetInterface(const char* name) override;  // "Progress"
  void ApplyAttribute(const char* name, const char* value) override;
  void PaintStatusImage(HDC dc) override;

  int GetValue() const { return value_; }
  void SetValue(int value);
  void SetMinValue(int min);
  void SetMaxValue(int max);
  void SetForeImage(const char* image);

 private:
  int min_ = 0, max_ = 100, value_ = 0;
  bool horizontal_ = true;
  bool stretchFore_ = true;
  CUIString foreImage_;
};
