// The monitors: one pass over the job list per interval, posting the speeds
// to the window; at the end they signal the phase's stop and post the final
// figure.
#include "base/Messages.h"
#include "engines/bandwidth/BandwidthPhase_win.h"

namespace vt {

unsigned __stdcall DownloadMonitor(void* arg) {
  BandwidthPhase& phase = *static_cast<BandwidthPhase*>(arg);
  DownloadSampler sampler(phase.budget, phase.options.maxEmptyIntervals);
  for (;;) {
    // Whether every worker has ended is read before the counters: when it
    // is true, every byte any worker will ever count is in this sum.
    bool allEnded = phase.AllWorkersEnded();
    uint32_t total = 0;
    for (const auto& job : phase.jobs) total += job->Received();
    DownloadSampler::Step step = sampler.Pass(total, allEnded);
    if (step.postSample) phase.Post(MSG_DOWNLOAD_SAMPLE, step.delta);
    if (step.finish) break;
    if (phase.stop.Wait(phase.options.intervalMs)) break;
  }
  phase.stop.Signal();
  phase.Post(MSG_DOWNLOAD_DONE, static_cast<uint32_t>(sampler.Final()));
  return 0;
}

unsigned __stdcall UploadMonitor(void* arg) {
  BandwidthPhase& phase = *static_cast<BandwidthPhase*>(arg);
  UploadSampler sampler(phase.budget);
  DWORD start = GetTickCount();
  for (;;) {
    uint64_t sum = 0;
    for (const auto& job : phase.jobs) sum += job->Sent();
    UploadSampler::Step step = sampler.Pass(sum, GetTickCount() - start);
    phase.Post(MSG_UPLOAD_SAMPLE, step.rate);
    if (step.finish) break;
    if (phase.stop.Wait(phase.options.intervalMs)) break;
  }
  phase.stop.Signal();
  phase.Post(MSG_UPLOAD_DONE, sampler.rate());
  return 0;
}

}  // namespace vt
