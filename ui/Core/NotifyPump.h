// CNotifyPump: dispatches notifications by type (and virtual-window name)
// through a chain of maps, most derived first. A class adds handlers with
// its own map that points to its base class's map:
//
//   const CNotifyPump::NotifyMapEntry MyWnd::kEntries[] = {
//       CNotifyPump::OnRecord("itemselect", "", &MyWnd::OnItemSelect),
//       CNotifyPump::End()};
//   const CNotifyPump::NotifyMap MyWnd::kMap = {&WindowImplBase::kMap, kEntries};
//   const CNotifyPump::NotifyMap* MyWnd::GetNotifyMap() const { return &kMap; }
#pragma once

#include <map>
#include <string>

#include "ui/Core/UIDefs.h"

class CNotifyPump {
 public:
  using RecordHandler = void (CNotifyPump::*)(UINotification& msg);
  using ValueHandler = LRESULT (CNotifyPump::*)(WPARAM wParam, LPARAM lParam);

  enum HandlerKind { kEnd = 0, kValues = 1, kRecord = 2 };
  struct NotifyMapEntry {
    const char* type;
    const char* virtualWindow;  // "" matches any
    RecordHandler onRecord;
    ValueHandler onValues;
    HandlerKind kind;
  };
  struct NotifyMap {
    const NotifyMap* base;
    const NotifyMapEntry* entries;  // ended by an entry of kind kEnd
  };

  template <typename T>
  static NotifyMapEntry OnRecord(const char* type, const char* virtualWindow,
                                 void (T::*handler)(UINotification&)) {
    return {type, virtualWindow, static_cast<RecordHandler>(handler), nullptr, kRecord};
  }
  template <typename T>
  static NotifyMapEntry OnValues(const char* type, const char* virtualWindow,
                                 LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return {type, virtualWindow, nullptr, static_cast<ValueHandler>(handler), kValues};
  }
  static NotifyMapEntry End() { return {nullptr, nullptr, nullptr, nullptr, kEnd}; }

  virtual ~CNotifyPump() = default;

  // Pumps of virtual windows, found by name without regard to case.
  bool AddVirtualWnd(const char* name, CNotifyPump* pump);
  bool RemoveVirtualWnd(const char* name);
  // Dispatches msg: first to the pump of its virtual window, then to our maps.
  void NotifyPump(UINotification& msg);
  // Tries our own maps only; true when a handler ran.
  bool LoopDispatch(UINotification& msg);

 protected:
  virtual const NotifyMap* GetNotifyMap() const { return nullptr; }

 private:
  std::map<std::string, CNotifyPump*> virtualWnds_;  // keys lower-cased
};
