#include "cli/EngineRun_win.h"

#include <process.h>

#include <cstdio>

#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"

namespace vt {

namespace {
const char kClass[] = "VeltraneCliEngineRun";
}

EngineRun::EngineRun() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(0, kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

EngineRun::~EngineRun() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK EngineRun::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<EngineRun*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self || msg < WM_USER || !self->handler_) return DefWindowProcA(hwnd, msg, wp, lp);
  int where = self->textOf_ && *self->textOf_ ? (*self->textOf_)(msg, wp) : 0;
  const char* text = nullptr;
  if (where == 1) text = reinterpret_cast<const char*>(wp);
  if (where == 2) text = reinterpret_cast<const char*>(lp);
  if (self->printJson_) {
    std::string line = MessageJson(msg, static_cast<uint64_t>(wp), static_cast<int64_t>(lp), text);
    vt::PrintJsonLine(line);
  }
  if (!self->done_ && (*self->handler_)(EngineMessage{msg, wp, lp, text})) self->done_ = true;
  return 0;
}

bool EngineRun::Pump(const Handler& handler, DWORD timeoutMs, bool printJson, const TextOf& textOf) {
  handler_ = &handler;
  textOf_ = &textOf;
  printJson_ = printJson;
  done_ = false;
  DWORD start = GetTickCount();
  while (!done_) {
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    MSG m;
    while (!done_ && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  }
  handler_ = nullptr;
  textOf_ = nullptr;
  return done_;
}

bool EngineRun::StartThread(unsigned(__stdcall* proc)(void*), void* arg, HANDLE* keep) {
  uintptr_t handle = _beginthreadex(nullptr, 0, proc, arg, 0, nullptr);
  if (!handle) return false;
  if (keep) *keep = reinterpret_cast<HANDLE>(handle);
  else CloseHandle(reinterpret_cast<HANDLE>(handle));
  return true;
}

bool EngineRun::RunThreadAndWait(unsigned(__stdcall* proc)(void*), void* arg, DWORD waitMs,
                                 unsigned* exitCode) {
  HANDLE thread = nullptr;
  if (!StartThread(proc, arg, &thread)) return false;
  bool ended = WaitForSingleObject(thread, waitMs) == WAIT_OBJECT_0;
  DWORD code = 0;
  if (ended && GetExitCodeThread(thread, &code)) *exitCode = code;
  CloseHandle(thread);
  return ended;
}

}  // namespace vt
