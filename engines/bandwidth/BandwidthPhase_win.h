// Internal to the bandwidth engine: the state one phase shares between its
// phase thread, its monitor and its workers.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "engines/bandwidth/BandwidthTest_win.h"
#include "net/http/TransferJob.h"

namespace vt {

struct BandwidthPhase {
  HWND window = nullptr;  // the result window
  int32_t budget = 0;     // the remaining budget, copied from sampleBudget
  PhaseOptions options;
  StopSignal stop;                                 // BandwidthStopEvent of this phase
  std::vector<std::unique_ptr<TransferJob>> jobs;  // built in full before any thread starts
  std::atomic<size_t> workersEnded{0};             // release by each worker as its last act on its job

  void Post(UINT message, uint32_t wParam) const {
    if (window) PostMessageA(window, message, static_cast<WPARAM>(wParam), 0);
  }
  bool AllWorkersEnded() const { return workersEnded.load(std::memory_order_acquire) >= jobs.size(); }
};

struct BandwidthWorkerArg {
  BandwidthPhase* phase;
  TransferJob* job;
};

unsigned __stdcall DownloadWorker(void* arg);     // BandwidthWorkerArg*
unsigned __stdcall UploadWorker(void* arg);       // BandwidthWorkerArg*
unsigned __stdcall DownloadMonitor(void* phase);  // BandwidthPhase*
unsigned __stdcall UploadMonitor(void* phase);    // BandwidthPhase*

}  // namespace vt
