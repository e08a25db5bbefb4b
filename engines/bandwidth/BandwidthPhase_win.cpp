// The phase threads: build the job list, start the monitor and the workers,
// wait for all of them, release everything.
#include <process.h>

#include "engines/bandwidth/BandwidthJobs.h"
#include "engines/bandwidth/BandwidthPhase_win.h"
#include "base/Messages.h"

namespace vt {

namespace {

HANDLE StartThread(unsigned(__stdcall* proc)(void*), void* arg) {
  return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, proc, arg, 0, nullptr));
}

// Waits for every handle, in groups within WaitForMultipleObjects' limit.
void WaitAll(const std::vector<HANDLE>& handles) {
  for (size_t at = 0; at < handles.size(); at += MAXIMUM_WAIT_OBJECTS) {
    size_t n = handles.size() - at;
    if (n > MAXIMUM_WAIT_OBJECTS) n = MAXIMUM_WAIT_OBJECTS;
    WaitForMultipleObjects(static_cast<DWORD>(n), handles.data() + at, TRUE, INFINITE);
  }
}

void RunPhase(const SpeedTestRequest& request, const std::vector<std::string>& urls,
              const PhaseOptions& options, bool upload) {
  BandwidthPhase phase;
  phase.window = request.window;
  phase.budget = request.sampleBudget;
  phase.options = options;
  for (const std::string& url : urls)
    phase.jobs.push_back(std::make_unique<TransferJob>(url, upload ? 1 : 0));
  std::vector<BandwidthWorkerArg> args;
  for (auto& job : phase.jobs) args.push_back({&phase, job.get()});

  HANDLE monitor = StartThread(upload ? UploadMonitor : DownloadMonitor, &phase);
  if (!monitor) {
    // Without a monitor nothing would ever end the phase: end it now, and
    // tell the window the way the monitor would have.
    phase.stop.Signal();
    phase.Post(upload ? MSG_UPLOAD_DONE : MSG_DOWNLOAD_DONE, 0);
    return;
  }
  std::vector<HANDLE> workers;
  for (BandwidthWorkerArg& arg : args) {
    HANDLE h = StartThread(upload ? UploadWorker : DownloadWorker, &arg);
    if (h) {
      workers.push_back(h);
    } else {
      phase.workersEnded.fetch_add(1, std::memory_order_release);  // a worker that never ran has ended
    }
  }
  WaitAll(workers);
  WaitForSingleObject(monitor, INFINITE);
  for (HANDLE h : workers) CloseHandle(h);
  CloseHandle(monitor);
  // The jobs and the stop event go with `phase`.
}

SpeedTestRequest Copy(void* request) {
  SpeedTestRequest copy;
  if (request) copy = *static_cast<const SpeedTestRequest*>(request);
  return copy;
}

}  // namespace

void RunDownloadPhase(const SpeedTestRequest& request, const std::vector<std::string>& urls,
                      const PhaseOptions& options) {
  RunPhase(request, urls, options, false);
}

void RunUploadPhase(const SpeedTestRequest& request, const std::vector<std::string>& urls,
                    const PhaseOptions& options) {
  RunPhase(request, urls, options, true);
}

unsigned __stdcall DownloadTestMetro(void* request) {
  SpeedTestRequest r = Copy(request);
  RunDownloadPhase(r, DownloadJobUrls(kMetroServerMode, r.bandwidthLevel));
  return 0;
}

unsigned __stdcall DownloadTestInternet(void* request) {
  SpeedTestRequest r = Copy(request);
  RunDownloadPhase(r, DownloadJobUrls(1, r.bandwidthLevel));
  return 0;
}

unsigned __stdcall UploadTestMetro(void* request) {
  SpeedTestRequest r = Copy(request);
  RunUploadPhase(r, UploadJobUrls(kMetroServerMode, r.bandwidthLevel));
  return 0;
}

unsigned __stdcall UploadTestInternet(void* request) {
  SpeedTestRequest r = Copy(request);
  RunUploadPhase(r, UploadJobUrls(1, r.bandwidthLevel));
  return 0;
}

PhaseThreadProc DownloadTestFor(int serverMode) {
  return serverMode == kMetroServerMode ? DownloadTestMetro : DownloadTestInternet;
}

PhaseThreadProc UploadTestFor(int serverMode) {
  return serverMode == kMetroServerMode ? UploadTestMetro : UploadTestInternet;
}

}  // namespace vt
