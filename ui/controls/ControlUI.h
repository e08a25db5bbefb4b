// CControlUI: the base of every control. Holds position and size model,
// colours, border, background image, text, flags, and paints in the fixed
// order background colour, background image, status image, text, border,
// clipped to the control (with elliptic corners when "borderround" is set).
//
// Subclasses override GetClass/GetInterface, ApplyAttribute (handing unknown
// names to their base), DoEvent, DesiredSize, PlaceAt and the Paint* steps.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/Core/UIDefs.h"
#include "base/UIString.h"

class CGifHandler;

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // ---- identity ----
  virtual const char* GetClass() const;          // "ControlUI"
  virtual void* GetInterface(const char* name);  // "Control" → this
  virtual unsigned GetControlFlags() const;      // kControlFlag… bits
  const CUIString& GetName() const { return name_; }
  void SetName(const char* name) { name_ = name; }
  const CUIString& GetVirtualWnd() const { return virtualWnd_; }  // first non-empty up the parents
  CUIString FindVirtualWnd() const;
  void SetVirtualWnd(const char* name);

  // ---- tree ----
  virtual void SetManager(CUIManager* manager, CControlUI* parent, bool init = true);
  CUIManager* GetManager() const { return manager_; }
  CControlUI* GetParent() const { return parent_; }
  virtual CControlUI* FindControl(FindControlProc proc, void* data, unsigned flags);
  virtual void Init();  // once attached: DoInit, then notify the init subscribers
  virtual void DoInit() {}

  // ---- text and data ----
  virtual CUIString GetText() const { return text_; }
  virtual void SetText(const char* text);
  const CUIString& GetToolTip() const { return tooltip_; }
  void SetToolTip(const char* text);
  int GetToolTipWidth() const { return tooltipWidth_; }
  void SetToolTipWidth(int width) { tooltipWidth_ = width; }
  char GetShortcut() const { return shortcut_; }
  void SetShortcut(char ch) { shortcut_ = ch; }
  const CUIString& GetUserData() const { return userData_; }
  void SetUserData(const char* text) { userData_ = text; }

  // ---- state ----
  virtual bool IsVisible() const { return visible_ && internVisible_; }
  virtual void SetVisible(bool visible);
  virtual void SetInternVisible(bool visible);  // shown or hidden by an ancestor
  virtual bool IsEnabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  bool IsMouseEnabled() const { return mouseEnabled_; }
  void SetMouseEnabled(bool on) { mouseEnabled_ = on; }
  bool IsKeyboardEnabled() const { return keyboardEnabled_; }
  void SetKeyboardEnabled(bool on) { keyboardEnabled_ = on; }
  bool IsContextMenuUsed() const { return menuEnabled_; }
  bool IsFocused() const { return focused_; }
  virtual void SetFocus();
  void SetFocusedFlag(bool on) { focused_ = on; }  // the manager's bookkeeping
  virtual bool Activate();  // visible and enabled: may be clicked or reached by shortcut

  // ---- position and size ----
  const RECT& GetPos() const { return rcItem_; }
  virtual void PlaceAt(const RECT& rc);  // places the control (and its subtree)
  virtual SIZE DesiredSize(SIZE available);
  int GetFixedX() const { return fixedX_; }
  int GetFixedY() const { return fixedY_; }
  int GetFixedWidth() const { return fixedWidth_; }
  int GetFixedHeight() const { return fixedHeight_; }
  virtual void SetFixedWidth(int cx);
  virtual void SetFixedHeight(int cy);
  void SetFixedXY(int x, int y);
  int GetMinWidth() const { return minWidth_; }
  int GetMaxWidth() const { return maxWidth_; }
  int GetMinHeight() const { return minHeight_; }
  int GetMaxHeight() const { return maxHeight_; }
  void SetMinWidth(int cx);
  void SetMaxWidth(int cx);
  void SetMinHeight(int cy);
  void SetMaxHeight(int cy);
  const RECT& GetPadding() const { return padding_; }
  void SetPadding(const RECT& rc);
  bool IsFloat() const { return float_; }
  void SetFloat(bool on);
  struct RelativePos {
    bool set = false;
    int moveX = 0, moveY = 0, zoomX = 0, zoomY = 0;
    SIZE parentSize = {0, 0};  // recorded when first applied
  };
  RelativePos& GetRelativePos() { return relativePos_; }

  // ---- layout and repaint ----
  void Invalidate();
  bool IsUpdateNeeded() const { return updateNeeded_; }
  void SetUpdateNeeded(bool on) { updateNeeded_ = on; }
  void RequestLayout();        // this control needs placing again
  void RequestParentLayout();  // its parent does

  // ---- appearance ----
  uint32_t GetBkColor() const { return bkColor_; }
  void SetBkColor(uint32_t argb);
  void SetBkColor2(uint32_t argb);
  void SetBkColor3(uint32_t argb);
  const CUIString& GetBkImage() const { return bkImage_; }
  bool IsAnimating() const { return gif_ != nullptr; }
  int GetGifFrame() const { return gifFrame_; }
  void SetBkImage(const char* image);
  uint32_t GetBorderColor() const { return borderColor_; }
  void SetBorderColor(uint32_t argb);
  void SetFocusBorderColor(uint32_t argb);
  int GetBorderSize() const { return borderSize_; }
  void SetBorderSize(int size);
  void SetBorderSizes(const RECT& rc);
  void SetLeftBorderSize(int size);
  void SetTopBorderSize(int size);
  void SetRightBorderSize(int size);
  void SetBottomBorderSize(int size);
  void SetBorderStyle(int style);
  SIZE GetBorderRound() const { return borderRound_; }
  void SetBorderRound(SIZE round);

  // ---- attributes ----
  virtual void ApplyAttribute(const char* name, const char* value);
  // What layouts and attribute strings go through: a value in 96-DPI pixels
  // ("pos", "padding", ... see IsPixelAttribute) is kept as written and
  // applied at the manager's scale; ApplyDpi applies the kept ones again
  // after the scale has changed.
  void SetLayoutAttribute(const char* name, const char* value);
  void ApplyAttributeString(const char* list);
  // (A control's own defaults go through SetLayoutAttribute too, so they
  // follow the scale as the layout's values do.)
  virtual void ApplyDpi();
  // Records a pixel attribute the control was given in present pixels (a
  // width dragged by the user) as its 96-DPI value, so that ApplyDpi puts
  // it back at a new scale instead of the layout's value.
  void KeepLayoutPixels(const char* name, int pixels);

  // ---- events and notifications ----
  virtual void DoEvent(UIEvent& event);
  // Called with every notification this control sends, before the window's
  // notifiers see it. Return value ignored.
  using NotifyListener = void (*)(void* context, UINotification& msg);
  void AddNotifyListener(NotifyListener listener, void* context);
  void NotifyListeners(UINotification& msg);

  // ---- painting ----
  virtual void DoPaint(HDC dc, const RECT& paint);
  virtual void PaintBkColor(HDC dc);
  virtual void PaintBkImage(HDC dc);
  virtual void PaintStatusImage(HDC dc) { (void)dc; }
  virtual void PaintText(HDC dc) { (void)dc; }
  virtual void PaintBorder(HDC dc);
  virtual void DoPostPaint(HDC dc, const RECT& paint) {
    (void)dc;
    (void)paint;
  }
  // Draws an image string; on failure clears it (so it is not tried again)
  // and returns false.
  bool DrawImage(HDC dc, CUIString& image, const char* modifier = nullptr);
  // The same with a modifier whose dest and source are present pixels,
  // worked out from the control's rectangle: they do not scale again.
  bool DrawImageAt(HDC dc, CUIString& image, const char* modifier);
  // A colour as painted: with "colorhsl", adjusted by the manager's
  // colour adjustment (ui/Core/ColorHsl.h); otherwise as given.
  uint32_t ShownColor(uint32_t argb) const;

 protected:
  void PaintGifFrame(HDC dc);
  void AdvanceGif();
  void StopGif();

  CUIManager* manager_ = nullptr;
  CControlUI* parent_ = nullptr;
  CUIString name_;
  CUIString text_;
  CUIString tooltip_;
  CUIString userData_;
  CUIString virtualWnd_;
  char shortcut_ = 0;
  int tooltipWidth_ = 300;

  RECT rcItem_ = {0, 0, 0, 0};
  RECT rcPaint_ = {0, 0, 0, 0};  // the paint rectangle of the current DoPaint
  int fixedX_ = 0, fixedY_ = 0;
  int fixedWidth_ = 0, fixedHeight_ = 0;
  int minWidth_ = 0, minHeight_ = 0;
  int maxWidth_ = 9999, maxHeight_ = 9999;
  RECT padding_ = {0, 0, 0, 0};
  bool float_ = false;
  RelativePos relativePos_;

  bool visible_ = true;
  bool internVisible_ = true;
  bool enabled_ = true;
  bool mouseEnabled_ = true;
  bool keyboardEnabled_ = true;
  bool focused_ = false;
  bool menuEnabled_ = false;
  bool updateNeeded_ = true;
  bool colorHsl_ = false;

  uint32_t bkColor_ = 0, bkColor2_ = 0, bkColor3_ = 0;
  uint32_t borderColor_ = 0, focusBorderColor_ = 0;
  int borderSize_ = 0;
  RECT borderSizes_ = {0, 0, 0, 0};
  int borderStyle_ = PS_SOLID;
  SIZE borderRound_ = {0, 0};
  CUIString bkImage_;
  CGifHandler* gif_ = nullptr;
  int gifFrame_ = 0;
  bool gifTimerRunning_ = false;
  int gifDelay_ = 0;

  struct Listener {
    NotifyListener fn;
    void* context;
  };
  std::vector<Listener> listeners_;
  struct LayoutPixels {
    CUIString name;
    CUIString value;  // as written, at 96 DPI
  };
  std::vector<LayoutPixels> layoutPixels_;
};
