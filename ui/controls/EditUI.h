// CEditUI (tag "Edit"): a label that, when focused or clicked, puts a
// native single-line edit window (class "EditWnd", a superclass of the
// system's "Edit") over its text area. Every change of the native text is
// copied to the control and sends "textchanged"; Return sends "return";
// losing the focus destroys the native window. Without it the text is
// painted like a label's ("*" per character for a password).
#pragma once

#include "ui/controls/LabelUI.h"

class CEditWnd;

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  ~CEditUI() override;
  const char* GetClass() const override;          // "EditUI"
  void* GetInterface(const char* name) override;  // "Edit"
  unsigned GetControlFlags() const override;
  void ApplyAttribute(const char* name, const char* value) override;
  void DoEvent(UIEvent& event) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void PlaceAt(const RECT& rc) override;
  void PaintStatusImage(HDC dc) override;
  void SetText(const char* text) override;

  bool IsPassword() const { return password_; }
  bool IsReadOnly() const { return readOnly_; }
  bool IsNumberOnly() const { return numberOnly_; }
  int GetMaxChar() const { return maxChar_; }
  uint32_t GetNativeBkColor() const { return nativeBkColor_; }
  HWND GetNativeWindow() const;
  // The area the native window covers: the text area, vertically centred
  // to the font's height.
  RECT NativeRect() const;

 protected:
  CUIString DisplayText() const override;

 private:
  friend class CEditWnd;
  void OpenNative();
  void CloseNative();
  void TextFromNative(const char* text);  // the native window's text changed

  CEditWnd* native_ = nullptr;
  bool readOnly_ = false, numberOnly_ = false, password_ = false;
  int maxChar_ = 255;
  uint32_t nativeBkColor_ = 0;
  CUIString normalImage_, hotImage_, focusedImage_, disabledImage_;
  bool hot_ = false;
};
