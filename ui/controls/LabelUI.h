// CLabelUI (tag "Label"): text on one line in its font, colour and
// alignment, plain or as inline markup ("showhtml"). Base of the text,
// button, option, edit and progress controls.
#pragma once

#include "ui/controls/ControlUI.h"

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  const char* GetClass() const override;          // "LabelUI"
  void* GetInterface(const char* name) override;  // "Label"
  void ApplyAttribute(const char* name, const char* value) override;
  SIZE DesiredSize(SIZE available) override;
  void PaintText(HDC dc) override;

  int GetFont() const { return font_; }
  void SetFont(int index);
  void SetTextColor(uint32_t argb);
  void SetDisabledTextColor(uint32_t argb);
  uint32_t GetTextColor() const { return textColor_; }
  void SetTextPadding(const RECT& rc);
  const RECT& GetTextPadding() const { return textPadding_; }
  UINT GetTextStyle() const { return textStyle_; }
  void SetTextStyle(UINT style);
  bool IsShowHtml() const { return showHtml_; }
  void SetShowHtml(bool on);

 protected:
  // The colour the text is drawn in now (subclasses add their states).
  virtual uint32_t CurrentTextColor() const;
  // The text as drawn (an edit shows "*" for each character of a password).
  virtual CUIString DisplayText() const { return text_; }
  // Draws text in rc: markup or plain, with style.
  void DrawLabelText(HDC dc, RECT rc, const char* text, uint32_t colour, UINT style);
  RECT TextArea() const;
  int FontHeight() const;

  int font_ = -1;
  uint32_t textColor_ = 0;
  uint32_t disabledTextColor_ = 0;
  RECT textPadding_ = {0, 0, 0, 0};
  UINT textStyle_ = DT_VCENTER;
  bool showHtml_ = false;
};
