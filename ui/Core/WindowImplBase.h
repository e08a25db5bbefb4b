// WindowImplBase: a frameless top-level window whose client area is drawn
// from a layout document. It loads the layout on WM_CREATE (from a file, a
// zip file, a layout resource or the "ZIPRES" archive resource), does its
// own hit testing (caption band, size box), rounds its corners, handles the
// system buttons ("closebtn", "minbtn", "maxbtn", "restorebtn") and
// dispatches notifications through its notification map.
#pragma once

#include "ui/Core/NotifyPump.h"
#include "ui/Core/UIManager.h"
#include "ui/Core/WindowWnd.h"

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  // Shows the message box (or what a test installed instead) when a window
  // cannot build its layout; the process then ends with exit code 1.
  using FatalBoxHook = void (*)(const char* text, const char* caption, UINT flags);
  static void SetFatalBoxHook(FatalBoxHook hook);

  WindowImplBase() = default;
  ~WindowImplBase() override = default;

  CUIManager& GetManager() { return manager_; }

  // INotifyUI, IMessageFilterUI, IDialogBuilderCallback
  void OnNotification(UINotification& msg) override;
  LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  CControlUI* CreateControl(const char* tag) override;

  static const NotifyMap kMap;

 protected:
  UINT ClassStyle() const override { return CS_DBLCLKS; }
  LRESULT RouteMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnWindowDestroyed() override;

  virtual void OnWindowReady() {}
  virtual void OnClickNotify(UINotification& msg);
  virtual const char* SkinFolder() const = 0;
  virtual const char* SkinFileName() const = 0;
  virtual int SkinSourceKind() const { return 1; }
  virtual const char* SkinArchiveFile() const { return ""; }
  virtual const char* SkinResourceId() const { return ""; }

  virtual LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcActivate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnChar(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKeyDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKillFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSetFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT HandleAppMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual DWORD WindowStyle() const;

  // Return → not handled; Escape → CloseWnd(1), handled.
  virtual LRESULT OnDefaultKey(WPARAM key, bool& handled);

  const NotifyMap* GetNotifyMap() const override { return &kMap; }

  CUIManager manager_;

 private:
  using MessageHandler = LRESULT (WindowImplBase::*)(UINT, WPARAM, LPARAM, bool&);
  struct RouteEntry {
    UINT msg;
    MessageHandler handler;
  };
  static const RouteEntry kRoutes[];
  static const NotifyMapEntry kEntries[];

  bool LoadSkinArchive();
  static void FailLayout();
};
