#include "cli/EngineThread_win.h"

namespace vt {

namespace {

const DWORD kSliceMs = 100;  // how often the pump looks whether the thread has ended
// How long a thread whose end message has come is given to return: the
// message is its last act, and a command must not end the process under a
// thread that is still unwinding.
const DWORD kTailMs = 5000;

}  // namespace

EngineThreadResult RunEngineThread(EngineRun& run, unsigned(__stdcall* proc)(void*), void* arg,
                                   const EngineRun::Handler& handler, DWORD timeoutMs, bool printJson,
                                   const EngineRun::TextOf& textOf) {
  EngineThreadResult result;
  HANDLE thread = nullptr;
  if (!EngineRun::StartThread(proc, arg, &thread)) return result;
  DWORD start = GetTickCount();
  while (!result.over && GetTickCount() - start < timeoutMs) {
    bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    result.over = run.Pump(handler, kSliceMs, printJson, textOf);
    // Once the thread has ended, one more slice handles what it posted last.
    if (ended) break;
  }
  result.finished = WaitForSingleObject(thread, result.over ? kTailMs : 0) == WAIT_OBJECT_0;
  DWORD code = 0;
  if (result.finished && GetExitCodeThread(thread, &code)) result.exitCode = code;
  CloseHandle(thread);
  return result;
}

}  // namespace vt
