// CButtonUI (tag "Button"): a label with state images and colours (normal,
// hot, pushed, focused, disabled), a fore image drawn over them, the hand
// cursor, and "click" on a release over it after a press on it, or on
// Space/Return while focused.
#pragma once

#include "ui/controls/LabelUI.h"

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  const char* GetClass() const override;          // "ButtonUI"
  void* GetInterface(const char* name) override;  // "Button"
  unsigned GetControlFlags() const override;
  bool Activate() override;
  void SetEnabled(bool enabled) override;
  void DoEvent(UIEvent& event) override;
  void ApplyAttribute(const char* name, const char* value) override;
  SIZE DesiredSize(SIZE available) override;
  void PaintStatusImage(HDC dc) override;

  void SetNormalImage(const char* image);
  void SetHotImage(const char* image);
  void SetPushedImage(const char* image);
  void SetDisabledImage(const char* image);
  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

 protected:
  uint32_t CurrentTextColor() const override;
  // Draws the state image of the current state, falling back to the normal
  // image, then the fore image.
  void PaintButtonImages(HDC dc);

  CUIString normalImage_, hotImage_, pushedImage_, focusedImage_, disabledImage_;
  CUIString foreImage_, hotForeImage_;
  uint32_t hotBkColor_ = 0;
  uint32_t hotTextColor_ = 0, pushedTextColor_ = 0, focusedTextColor_ = 0;
  bool hot_ = false;
  bool captured_ = false;  // pressed on it; pushed_ while the mouse is still over it
  bool pushed_ = false;
};
