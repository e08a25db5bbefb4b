// CUIManager: one per skinned window. Holds the control tree, turns window
// messages into control events, moves the focus, runs control timers on
// native timers, sends notifications, keeps the name map, owns the fonts,
// images and default attribute lists of the layout, and paints the tree
// through an off-screen bitmap. Everything runs on the UI thread.
//
// The implementation is split by concern:
//   UIManager_win.cpp           tree, names, notifications, filters, release
//   UIManagerProcess_win.cpp    process-wide statics, PreTranslate, message loop
//   UIManagerMessages_win.cpp   the message table of MessageHandler
//   UIManagerInput_win.cpp      mouse, keyboard, focus, Tab and shortcuts, tooltip
//   UIManagerPaint_win.cpp      the paint cycle
//   UIManagerTimers_win.cpp     control timers
//   UIManagerResources_win.cpp  fonts, images, default lists, window attributes
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "ui/Core/ColorHsl.h"
#include "ui/Core/DpiScale.h"
#include "ui/Core/Render.h"
#include "ui/Core/UIDefs.h"

struct FontInfo {
  HFONT font = nullptr;
  CUIString face;
  int size = 0;
  bool bold = false;
  bool underline = false;
  bool italic = false;
  TEXTMETRICA metrics = {};
};

class CUIManager {
 public:
  CUIManager();
  ~CUIManager();
  CUIManager(const CUIManager&) = delete;
  CUIManager& operator=(const CUIManager&) = delete;

  // ---- process-wide ----
  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  static CUIString ModuleDirectory();
  static void SetSkinPath(const char* path);
  static const char* GetSkinPath();
  static bool SetSkinArchive(const void* bytes, size_t len);
  static bool SetSkinArchiveFile(const char* path);
  static void RunMessageLoop();
  static bool PreTranslate(MSG* msg);
  static int ManagerCount();

  // ---- window and tree ----
  void Init(HWND hwnd);  // attaches the manager to its window
  HWND GetPaintWindow() const { return hwnd_; }
  HDC GetPaintDC() const { return paintDc_; }
  bool AttachRoot(CControlUI* root);
  CControlUI* GetRoot() const { return root_; }
  bool InitControls(CControlUI* control, CControlUI* parent = nullptr);
  void ReleaseControl(CControlUI* control);
  CControlUI* FindControlByName(const char* name) const;
  CControlUI* ControlAt(POINT pt) const;
  void NeedLayout() { layoutNeeded_ = true; }
  void Invalidate(const RECT& rc);
  bool AddPostPaint(CControlUI* control);
  bool RemovePostPaint(CControlUI* control);
  bool AddDelayedDelete(CControlUI* root);
  void AddOptionGroup(const char* group, CControlUI* control);
  const std::vector<CControlUI*>* GetOptionGroup(const char* group) const;
  POINT GetMousePos() const { return lastMouse_; }
  SIZE GetClientSize() const;
  bool UsesVirtualWindows() const { return usesVirtualWnd_; }
  void SetUsesVirtualWindows(bool on) { usesVirtualWnd_ = on; }

  // ---- notifications and filters ----
  void SendNotification(CControlUI* sender, const char* type, WPARAM wParam = 0, LPARAM lParam = 0,
                        bool queued = false);
  bool RegisterNotifier(INotifyUI* notifier);
  bool UnregisterNotifier(INotifyUI* notifier);
  bool RegisterPreFilter(IMessageFilterUI* filter);
  bool UnregisterPreFilter(IMessageFilterUI* filter);
  bool RegisterFilter(IMessageFilterUI* filter);
  bool UnregisterFilter(IMessageFilterUI* filter);
  // Window messages that reach the manager (after the window's own handlers).
  bool MessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool PreMessageHandler(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // ---- focus ----
  CControlUI* GetFocusControl() const { return focus_; }
  void SetFocusControl(CControlUI* control);
  bool SetNextTabControl(bool forward = true);

  // ---- timers ----
  bool StartTimer(CControlUI* control, UINT id, UINT elapseMs);
  bool StopTimer(CControlUI* control, UINT id);
  void KillTimers(CControlUI* control);

  // ---- resources ----
  int AddFont(const char* face, int size, bool bold, bool underline, bool italic);
  void SetDefaultFont(const char* face, int size, bool bold, bool underline, bool italic);
  void SetDefaultFontIndex(int index);
  HFONT GetFont(int index) const;  // out of range: the default font
  const FontInfo* GetFontInfo(int index) const;
  int GetFontCount() const { return static_cast<int>(fonts_.size()); }
  const ImageInfo* GetImage(const char* name) const;
  const ImageInfo* GetImageEx(const char* name, const char* restype = nullptr, uint32_t mask = 0);
  const ImageInfo* AddImage(const char* name, const char* restype, uint32_t mask);
  void AddDefaultAttributeList(const char* tag, const char* list);  // the first definition wins
  const char* GetDefaultAttributeList(const char* tag) const;       // null when none

  // ---- window attributes of the layout ----
  // Set in 96-DPI pixels as the layout writes them; read at the window's scale.
  SIZE GetInitSize() const { return ScaleSize(initSize_); }
  void SetInitSize(int cx, int cy);
  RECT GetSizeBox() const { return ScaleRect(sizeBox_); }
  void SetSizeBox(const RECT& rc) { sizeBox_ = rc; }
  RECT GetCaptionRect() const { return ScaleRect(caption_); }
  void SetCaptionRect(const RECT& rc) { caption_ = rc; }
  SIZE GetRoundCorner() const { return ScaleSize(roundCorner_); }
  void SetRoundCorner(int cx, int cy) { roundCorner_ = {cx, cy}; }
  SIZE GetMinInfo() const { return ScaleSize(minInfo_); }
  void SetMinInfo(int cx, int cy) { minInfo_ = {cx, cy}; }
  SIZE GetMaxInfo() const { return ScaleSize(maxInfo_); }
  void SetMaxInfo(int cx, int cy) { maxInfo_ = {cx, cy}; }

  // ---- display scale ----
  // The window's DPI (read when the manager is attached). SetDpi re-creates
  // the fonts at the new size, drops the images rendered for the old one,
  // applies every control's layout pixels again and lays the tree out anew.
  const vt::DpiScale& GetDpiScale() const { return dpi_; }
  int Scale(int value) const { return dpi_.Scale(value); }
  void SetDpi(int dpi);
  void SetShowUpdateRect(bool on) { showDirty_ = on; }
  void SetTransparent(int alpha);
  void SetBackgroundTransparent(bool on) { transparentBk_ = on; }
  bool IsBackgroundTransparent() const { return transparentBk_; }
  void ApplyWindowAttribute(const char* name, const char* value);

  uint32_t GetDefaultDisabledColor() const { return disabledColor_; }
  uint32_t GetDefaultFontColor() const { return fontColor_; }
  // The colour adjustment that controls with "colorhsl" follow (their
  // background, border and text colours); setting it repaints the window.
  void SetHslAdjust(const vt::HslAdjust& adjust);
  const vt::HslAdjust& GetHslAdjust() const { return hsl_; }
  uint32_t GetDefaultLinkFontColor() const { return linkColor_; }
  uint32_t GetDefaultLinkHoverFontColor() const { return linkHoverColor_; }
  uint32_t GetDefaultSelectedBkColor() const { return selectedColor_; }

  // ---- off-screen buffer (tests read painted pixels here) ----
  const uint32_t* GetOffscreenBits() const { return offBits_; }
  SIZE GetOffscreenSize() const { return offSize_; }

 private:
  struct TimerRecord {
    CControlUI* control;
    UINT localId;
    HWND hwnd;
    UINT nativeId;
    bool stopped;
  };
  struct QueuedNotification {
    UINotification msg;
  };
  using Handler = bool (CUIManager::*)(WPARAM, LPARAM, LRESULT&);
  struct MessageEntry {
    UINT msg;
    Handler handler;
  };
  static const MessageEntry kMessageTable[];

  SIZE ScaleSize(SIZE s) const { return {dpi_.Scale(static_cast<int>(s.cx)), dpi_.Scale(static_cast<int>(s.cy))}; }
  RECT ScaleRect(const RECT& r) const {
    return {dpi_.Scale(static_cast<int>(r.left)), dpi_.Scale(static_cast<int>(r.top)), dpi_.Scale(static_cast<int>(r.right)),
            dpi_.Scale(static_cast<int>(r.bottom))};
  }
  void RecreateFonts();
  void DropImages();
  void DeliverQueuedNotifications();
  void FillNameMap(CControlUI* control);
  void ForgetControl(CControlUI* control);
  void DropOffscreen();
  void DropBackdrop();
  void EnsureBackdrop(int cx, int cy);
  bool EnsureOffscreen(int cx, int cy);
  void EnsureTooltip();
  void HideTooltip();
  UIEvent MakeEvent(UIEventKind kind, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0) const;
  static uint16_t KeyState();
  void LayoutIfNeeded();
  void FocusAfterLayout();

  // Message handlers (UIManagerMessages_win.cpp, UIManagerInput_win.cpp,
  // UIManagerPaint_win.cpp).
  bool OnPaint(WPARAM, LPARAM, LRESULT&);
  bool OnPrintClient(WPARAM, LPARAM, LRESULT&);
  bool OnEraseBkgnd(WPARAM, LPARAM, LRESULT&);
  bool OnSize(WPARAM, LPARAM, LRESULT&);
  bool OnTimer(WPARAM, LPARAM, LRESULT&);
  bool OnClose(WPARAM, LPARAM, LRESULT&);
  bool OnMouseMove(WPARAM, LPARAM, LRESULT&);
  bool OnMouseHover(WPARAM, LPARAM, LRESULT&);
  bool OnMouseLeave(WPARAM, LPARAM, LRESULT&);
  bool OnLButtonDown(WPARAM, LPARAM, LRESULT&);
  bool OnLButtonDblClk(WPARAM, LPARAM, LRESULT&);
  bool OnRButtonDown(WPARAM, LPARAM, LRESULT&);
  bool OnLButtonUp(WPARAM, LPARAM, LRESULT&);
  bool OnContextMenu(WPARAM, LPARAM, LRESULT&);
  bool OnMouseWheel(WPARAM, LPARAM, LRESULT&);
  bool OnMouseHWheel(WPARAM, LPARAM, LRESULT&);
  bool Wheel(WPARAM wParam, LPARAM lParam, bool sideways);
  bool OnSetCursor(WPARAM, LPARAM, LRESULT&);
  bool OnKeyDown(WPARAM, LPARAM, LRESULT&);
  bool OnKeyUp(WPARAM, LPARAM, LRESULT&);
  bool OnChar(WPARAM, LPARAM, LRESULT&);
  bool OnGetMinMaxInfo(WPARAM, LPARAM, LRESULT&);
  bool OnDelayedDelete(WPARAM, LPARAM, LRESULT&);
  bool OnDpiChanged(WPARAM, LPARAM, LRESULT&);
  bool OnReflect(UINT msg, WPARAM, LPARAM, LRESULT&);
  bool OnButtonPress(UIEventKind kind, LPARAM lParam);

  HWND hwnd_ = nullptr;
  HDC paintDc_ = nullptr;
  CControlUI* root_ = nullptr;
  CControlUI* focus_ = nullptr;
  CControlUI* hover_ = nullptr;
  CControlUI* pressed_ = nullptr;
  CControlUI* keyControl_ = nullptr;
  POINT lastMouse_ = {-1, -1};

  std::vector<INotifyUI*> notifiers_;
  std::vector<IMessageFilterUI*> preFilters_;
  std::vector<IMessageFilterUI*> filters_;
  std::vector<CControlUI*> postPaint_;
  std::vector<CControlUI*> delayedDelete_;
  std::vector<UINotification> queued_;
  std::vector<TimerRecord> timers_;
  std::map<std::string, CControlUI*> names_;
  std::map<std::string, std::vector<CControlUI*>> optionGroups_;

  vt::DpiScale dpi_;
  int defaultFontIndex_ = -1;  // the shared entry of fonts_, when the default is one
  SIZE initSize_ = {0, 0};
  RECT sizeBox_ = {0, 0, 0, 0};
  RECT caption_ = {0, 0, 0, 0};
  SIZE roundCorner_ = {0, 0};
  SIZE minInfo_ = {0, 0};
  SIZE maxInfo_ = {0, 0};
  bool showDirty_ = false;

  uint32_t disabledColor_ = 0xFFA7A6AA;
  uint32_t fontColor_ = 0xFF000000;
  vt::HslAdjust hsl_;
  uint32_t linkColor_ = 0xFF0000FF;
  uint32_t linkHoverColor_ = 0xFFD3215F;
  uint32_t selectedColor_ = 0xFFBAE4FF;
  FontInfo defaultFont_;
  bool ownsDefaultFont_ = false;
  std::vector<FontInfo> fonts_;
  std::map<std::string, ImageInfo*> images_;
  std::map<std::string, CUIString> defaultLists_;

  bool layoutNeeded_ = false;
  bool firstLayout_ = true;
  bool focusNeeded_ = false;
  bool offscreenPaint_ = true;
  bool transparentBk_ = false;
  bool mouseTracking_ = false;
  bool mouseCaptured_ = false;
  bool usesVirtualWnd_ = false;
  bool painting_ = false;
  bool layoutDuringPaint_ = false;
  UINT timerCounter_ = 4096;

  HDC offDc_ = nullptr;
  HBITMAP offBitmap_ = nullptr;
  HGDIOBJ offOld_ = nullptr;
  uint32_t* offBits_ = nullptr;
  SIZE offSize_ = {0, 0};
  HDC backDc_ = nullptr;
  HBITMAP backBitmap_ = nullptr;
  HGDIOBJ backOld_ = nullptr;
  SIZE backSize_ = {0, 0};

  HWND tooltip_ = nullptr;
  TOOLINFOA toolInfo_ = {};
  CUIString tooltipText_;
};
