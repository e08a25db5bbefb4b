// The bandwidth test engine: download and upload phases, each a
// thread that starts one monitor and one worker per job and reports only by
// posting WM_USER .. WM_USER+3 (base/Messages.h: MSG_DOWNLOAD_SAMPLE,
// MSG_DOWNLOAD_DONE, MSG_UPLOAD_SAMPLE, MSG_UPLOAD_DONE) to the request's
// window. The window chains download phase, ping, upload phase.
//
// Constraints:
//  a) Each phase owns its state (stop signal, jobs, samples): a phase's
//     workers and monitor use the stop of that phase only, so a phase that
//     starts while an earlier one is still closing its sockets is not
//     disturbed by it.
//  b) Counters are single-writer std::atomic<uint32_t> with relaxed loads
//     and stores (TransferJob.h); the monitor reads them once per interval.
//  c) Every phase ends: the upload monitor after sampleBudget samples, the
//     download monitor on its budget or on DownloadSampler's bounds for
//     silent connections (BandwidthArithmetic.h). After the stop, every
//     worker leaves within kStopPollMs, whatever state its connection is in
//     (Socket_win.h), so the phase thread's waits end too. The window does
//     not depend on the phase thread's end.
//  d) The phase thread closes every thread handle and the stop event.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engines/bandwidth/BandwidthArithmetic.h"
#include "net/http/Socket_win.h"

namespace vt {

// Filled by the window just before a phase starts and handed to the phase
// thread by pointer; the phase copies it at once, so the window may refill it
// for the next phase.
struct SpeedTestRequest {
  int32_t bandwidthLevel = 8;  // 4, 8, 12 or 16
  int32_t sampleBudget = 15;   // non-empty samples after the first one (below 300)
  HWND window = nullptr;       // receives the messages; none is posted when null
};

// Thread procedures (argument: SpeedTestRequest*), exit code 0. The job
// lists come from the compiled-in server tables (BandwidthJobs.h).
unsigned __stdcall DownloadTestMetro(void* request);
unsigned __stdcall DownloadTestInternet(void* request);
unsigned __stdcall UploadTestMetro(void* request);
unsigned __stdcall UploadTestInternet(void* request);

using PhaseThreadProc = unsigned(__stdcall*)(void*);
// The variant for the settings window's serverMode: 2 metropolitan, any other
// value Internet.
PhaseThreadProc DownloadTestFor(int serverMode);
PhaseThreadProc UploadTestFor(int serverMode);

// Knobs of a phase; the defaults are the product's.
// Tests shorten the interval to run phases quickly.
struct PhaseOptions {
  DWORD intervalMs = 1000;  // the monitors' sampling clock
  int maxEmptyIntervals = DownloadSampler::kMaxEmptyIntervals;
  DWORD pollMs = kStopPollMs;  // workers' stoppable waits
};

// The body of a phase thread over an explicit URL list, on the calling
// thread: returns when every worker and the monitor have ended.
void RunDownloadPhase(const SpeedTestRequest& request, const std::vector<std::string>& urls,
                      const PhaseOptions& options = PhaseOptions());
void RunUploadPhase(const SpeedTestRequest& request, const std::vector<std::string>& urls,
                    const PhaseOptions& options = PhaseOptions());

// Worker exit codes (one per failure); for tests.
enum BandwidthWorkerExit : unsigned {
  kWorkerOk = 0,
  kWorkerStartupFailed = 1,
  kWorkerHostNotFound = 3,
  kWorkerDownloadConnectFailed = 4,
  kWorkerUploadRcvBufFailed = 4,
  kWorkerUploadRcvTimeoFailed = 5,
  kWorkerDownloadSendFailed = 5,
  kWorkerUploadConnectFailed = 6,
};

}  // namespace vt
