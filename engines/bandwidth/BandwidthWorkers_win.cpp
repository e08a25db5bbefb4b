// The transfer workers of a phase: one connection each, counting into their
// own job. Every wait gives way to the phase's stop (Socket_win.h).
#include <cstring>
#include <memory>
#include <new>

#include "engines/bandwidth/BandwidthPhase_win.h"
#include "engines/bandwidth/UploadRequest.h"
#include "net/http/HttpLog.h"
#include "net/http/StoppableGet_win.h"

namespace vt {

namespace {

// Bytes asked for per receive. Every receive is a system call, and under
// Wine a wineserver request; every wait for data before it is a select, and
// under Wine several requests and a wake-up of the wineserver. A fast line
// delivers in bursts: at 1 Gbit/s over 8 connections about 125 KB each time
// a connection wakes. A buffer that takes a whole burst makes one wait and
// one receive of it; 64 KB took two receives, 8 KB sixteen. What is counted
// does not change: every byte received, added after each receive, the stop
// looked at after each addition (bench/download-phase --line 1000 measures
// the cost).
const int kDownloadBuffer = 262144;
// The buffer lives on the heap (too large for a worker's stack); if that
// memory cannot be had, the worker receives into a small one of its own.
const int kFallbackBuffer = 8192;
const int kUploadRcvBuf = 102400;
const DWORD kUploadRcvTimeoMs = 2;

unsigned DownloadTransfer(BandwidthPhase& phase, TransferJob& job) {
  StoppableSocket s(phase.stop, phase.options.pollMs);
  bool stopped = false;
  // Its failure codes are the worker's exit codes: 1, 3, 4 and 5.
  int32_t opened = OpenStoppableGet(s, ParseUrl(job.url), &stopped);
  if (opened != Ok) return static_cast<unsigned>(opened);
  if (stopped || phase.stop.IsSignalled()) return kWorkerOk;

  // The reply is never parsed: header bytes and error pages count too.
  std::unique_ptr<char[]> large(new (std::nothrow) char[kDownloadBuffer]);
  char fallback[kFallbackBuffer];
  char* buffer = large ? large.get() : fallback;
  int size = large ? kDownloadBuffer : kFallbackBuffer;
  ReceiveToEnd(s, phase.stop, buffer, size, [&job](uint32_t n) { job.AddReceived(n); });
  return kWorkerOk;  // the socket closes with `s`
}

unsigned UploadTransfer(BandwidthPhase& phase, TransferJob& job) {
  if (!StartWinsock()) return kWorkerStartupFailed;
  UrlParts url = ParseUrl(job.url);
  StoppableSocket s(phase.stop, phase.options.pollMs);
  bool opened = s.Open();
  sockaddr_in address;
  if (!ResolveHost(url.host, url.port, &address)) return kWorkerHostNotFound;
  if (!opened) {
    LogLine("connnect failed");
    return kWorkerUploadConnectFailed;
  }
  int rcvBuf = kUploadRcvBuf;
  if (setsockopt(s.handle(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&rcvBuf), sizeof rcvBuf) !=
      0)
    return kWorkerUploadRcvBufFailed;
  DWORD rcvTimeo = kUploadRcvTimeoMs;
  if (setsockopt(s.handle(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&rcvTimeo),
                 sizeof rcvTimeo) != 0)
    return kWorkerUploadRcvTimeoFailed;

  job.connState.store(1, std::memory_order_relaxed);
  StoppableSocket::Outcome o = s.Connect(address);
  if (o == StoppableSocket::kFailed) {
    LogLine("connnect failed");
    return kWorkerUploadConnectFailed;
  }
  if (o == StoppableSocket::kStopped) return kWorkerOk;
  job.connState.store(2, std::memory_order_relaxed);

  std::string request = ComposeUploadRequest(url);
  o = s.SendAll(request.data(), static_cast<int>(request.size()));
  if (o == StoppableSocket::kFailed) {
    LogLine("send err");
    return kWorkerOk;
  }
  if (o == StoppableSocket::kStopped || phase.stop.IsSignalled()) return kWorkerOk;

  char zeros[kUploadChunk];
  memset(zeros, 0, sizeof zeros);
  uint32_t remaining = kUploadDeclaredLength;
  while (remaining > 0) {
    int chunk = remaining < static_cast<uint32_t>(kUploadChunk) ? static_cast<int>(remaining) : kUploadChunk;
    int accepted = 0;
    o = s.SendSome(zeros, chunk, &accepted);
    if (o == StoppableSocket::kFailed) {
      LogLine("send err");
      break;
    }
    if (o == StoppableSocket::kStopped) break;
    remaining -= static_cast<uint32_t>(accepted);
    job.bytesSent.store(kUploadDeclaredLength - remaining, std::memory_order_relaxed);
    if (phase.stop.IsSignalled()) break;
  }
  return kWorkerOk;  // closed without reading any reply
}

unsigned RunWorker(void* arg, unsigned (*transfer)(BandwidthPhase&, TransferJob&)) {
  auto* a = static_cast<BandwidthWorkerArg*>(arg);
  unsigned code = transfer(*a->phase, *a->job);
  // Last act on the job: from here on its counters are final (the monitor
  // reads this before it reads the counters).
  a->phase->workersEnded.fetch_add(1, std::memory_order_release);
  return code;
}

}  // namespace

unsigned __stdcall DownloadWorker(void* arg) { return RunWorker(arg, DownloadTransfer); }
unsigned __stdcall UploadWorker(void* arg) { return RunWorker(arg, UploadTransfer); }

}  // namespace vt
