#include "cli/EngineThread_win.h"

#include <atomic>

namespace vt {

namespace {

struct ThreadJob {
  unsigned(__stdcall* proc)(void*);
  void* arg;
  std::atomic<bool> finished{false};
  std::atomic<unsigned> exitCode{0};
};

unsigned __stdcall RunJob(void* p) {
  auto* job = static_cast<ThreadJob*>(p);
  job->exitCode = job->proc(job->arg);
  job->finished = true;
  return 0;
}

const DWORD kSliceMs = 100;  // how often the pump looks whether the thread has ended

}  // namespace

EngineThreadResult RunEngineThread(EngineRun& run, unsigned(__stdcall* proc)(void*), void* arg,
                                   const EngineRun::Handler& handler, DWORD timeoutMs, bool printJson,
                                   const EngineRun::TextOf& textOf) {
  EngineThreadResult result;
  // Left allocated when the run times out: the thread still writes to it.
  auto* job = new ThreadJob{proc, arg};
  if (!EngineRun::StartThread(RunJob, job)) {
    delete job;
    return result;
  }
  DWORD start = GetTickCount();
  while (!result.over && GetTickCount() - start < timeoutMs) {
    bool ended = job->finished;
    result.over = run.Pump(handler, kSliceMs, printJson, textOf);
    // Once the thread has ended, one more slice handles what it posted last.
    if (ended) break;
  }
  result.finished = job->finished;
  if (result.finished) {
    result.exitCode = job->exitCode;
    delete job;
  }
  return result;
}

}  // namespace vt
