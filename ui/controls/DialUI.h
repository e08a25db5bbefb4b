// CDialUI (tag "Dial"): the speedometer. A background image of the scale
// with a needle image (the fore image) stretched into a fixed band and
// turned about a pivot by an angle that follows a value of 0..1000.
#pragma once

#include "ui/controls/ControlUI.h"

class CDialUI : public CControlUI {
 public:
  ~CDialUI() override;
  const char* GetClass() const override;          // "DialUI"
  void* GetInterface(const char* name) override;  // "Dial"
  void ApplyAttribute(const char* name, const char* value) override;
  void PaintStatusImage(HDC dc) override;
  virtual void SetForeImage(const char* image);

  // Clamped to 0..1000; only the angle derived from it is kept.
  void SetValue(int value);
  float GetAngle() const { return angle_; }
  const CUIString& GetForeImage() const { return foreImage_; }

 private:
  bool PaintNeedle(HDC dc);  // false when the image cannot be loaded

  CUIString foreImage_;
  float angle_ = 1.01f;  // ten times the rotation in radians
};
