// Runs one engine thread for a console command: the thread reports to the
// EngineRun's window, every message is printed as a JSON line, and the run
// ends when the handler says so, when the thread has ended (and what it
// posted has been handled), or at the time bound. After the end message it
// waits (at most 5 s) for the thread to return: the message is an engine's
// last act, and the command may end the process next.
#pragma once

#include "cli/EngineRun_win.h"

namespace vt {

struct EngineThreadResult {
  bool over = false;      // the handler saw the end message
  bool finished = false;  // the thread has returned
  unsigned exitCode = 0;  // its exit code, when finished
};

// The records proc reads must outlive a run that times out (the thread is
// then left running): keep them in static storage.
EngineThreadResult RunEngineThread(EngineRun& run, unsigned(__stdcall* proc)(void*), void* arg,
                                   const EngineRun::Handler& handler, DWORD timeoutMs, bool printJson = true,
                                   const EngineRun::TextOf& textOf = nullptr);

}  // namespace vt
