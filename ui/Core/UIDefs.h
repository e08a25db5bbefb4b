// Shared types of the skinned toolkit: input events, the notification
// record, and the small interfaces windows and controls implement.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/UIString.h"

class CControlUI;
class CUIManager;

// Input and timer events delivered to one control.
enum class UIEventKind {
  KeyDown,
  KeyUp,
  Char,
  SysKey,
  MouseMove,
  MouseLeave,
  MouseEnter,
  MouseHover,
  ButtonDown,
  ButtonUp,
  RButtonDown,
  DoubleClick,
  ContextMenu,
  ScrollWheel,
  KillFocus,
  SetFocus,
  WindowSize,
  SetCursor,
  Timer,
};

// Key-state flags of a UIEvent.
enum : uint16_t {
  kKeyStateControl = 0x01,
  kKeyStateShift = 0x02,
  kKeyStateLButton = 0x04,
  kKeyStateRButton = 0x08,
  kKeyStateAlt = 0x10,
};

struct UIEvent {
  UIEventKind kind = UIEventKind::MouseMove;
  CControlUI* sender = nullptr;
  DWORD timestamp = 0;
  POINT mousePoint = {0, 0};
  char key = 0;  // character (key and character events)
  uint16_t keyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct UINotification {
  CUIString type;
  CUIString virtualWindow;
  CControlUI* sender = nullptr;
  DWORD timestamp = 0;
  POINT mousePoint = {0, 0};
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class INotifyUI {
 public:
  virtual void OnNotification(UINotification& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

class IMessageFilterUI {
 public:
  virtual LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

class IDialogBuilderCallback {
 public:
  virtual CControlUI* CreateControl(const char* tag) = 0;

 protected:
  ~IDialogBuilderCallback() = default;
};

// Child management of containers (interface name "IContainer").
class IContainerUI {
 public:
  virtual CControlUI* ChildAt(int index) const = 0;
  virtual int IndexOf(CControlUI* control) const = 0;
  virtual int GetCount() const = 0;
  virtual bool Add(CControlUI* control) = 0;
  virtual bool InsertAt(CControlUI* control, int index) = 0;
  virtual bool RemoveChild(CControlUI* control) = 0;
  virtual bool RemoveChildAt(int index) = 0;
  virtual void RemoveAll() = 0;

 protected:
  ~IContainerUI() = default;
};

// Searches of the control tree (CControlUI::FindControl).
enum : unsigned {
  kFindAll = 0x00,
  kFindVisible = 0x01,
  kFindEnabled = 0x02,
  kFindHitTest = 0x04,   // data is a POINT*: the control must contain it
  kFindTopFirst = 0x08,  // children before their container
  kFindMeFirst = 0x80,   // the container itself before its children
};
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

// What a control asks of the manager (CControlUI::GetControlFlags).
enum : unsigned {
  kControlFlagTabStop = 0x01,
  kControlFlagSetCursor = 0x02,
  kControlFlagWantReturn = 0x04,
};

// Timer id of animated (GIF) backgrounds.
constexpr UINT kGifTimerId = 8765;

// Manager message posted to delete replaced roots.
constexpr UINT kMsgDelayedDelete = WM_APP + 1;

// WM_MOUSEHWHEEL (the tilted wheel, Windows Vista and later), named here as
// the older headers leave it out.
constexpr UINT kMsgMouseHWheel = 0x020E;
