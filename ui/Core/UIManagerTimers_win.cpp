// Control timers on native window timers. Native ids count (counter + 1) mod
// 255 from 4096, so the first is 17 and all stay below 255: ids from 256 up
// are left to the window's own code.
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

bool CUIManager::StartTimer(CControlUI* control, UINT id, UINT elapseMs) {
  if (!control || !hwnd_) return false;
  for (TimerRecord& t : timers_) {
    if (t.control != control || t.hwnd != hwnd_ || t.localId != id) continue;
    if (!t.stopped) return false;  // already running
    if (!SetTimer(hwnd_, t.nativeId, elapseMs, nullptr)) return false;
    t.stopped = false;
    return true;
  }
  UINT next = (timerCounter_ + 1) % 255;
  if (!SetTimer(hwnd_, next, elapseMs, nullptr)) return false;
  timerCounter_ = next;
  timers_.push_back({control, id, hwnd_, next, false});
  return true;
}

bool CUIManager::StopTimer(CControlUI* control, UINT id) {
  for (TimerRecord& t : timers_) {
    if (t.control != control || t.hwnd != hwnd_ || t.localId != id) continue;
    if (t.stopped) return false;
    if (t.hwnd && IsWindow(t.hwnd)) KillTimer(t.hwnd, t.nativeId);
    t.stopped = true;
    return true;
  }
  return false;
}

void CUIManager::KillTimers(CControlUI* control) {
  for (size_t i = 0; i < timers_.size();) {
    TimerRecord& t = timers_[i];
    if (t.control == control) {
      if (!t.stopped && t.hwnd && IsWindow(t.hwnd)) KillTimer(t.hwnd, t.nativeId);
      timers_.erase(timers_.begin() + static_cast<long>(i));
    } else {
      ++i;
    }
  }
}

bool CUIManager::OnTimer(WPARAM wParam, LPARAM, LRESULT&) {
  for (const TimerRecord& t : timers_) {
    if (t.hwnd == hwnd_ && t.nativeId == wParam && !t.stopped) {
      CControlUI* control = t.control;
      UIEvent e = MakeEvent(UIEventKind::Timer, control, t.localId, 0);
      control->DoEvent(e);  // may start or stop timers: the record is not used after
      return true;
    }
  }
  return false;  // not ours: the window's own timers
}
