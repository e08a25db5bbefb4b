#include "net/http/HttpClient_win.h"

#include <process.h>

#include <atomic>
#include <cstdio>
#include <memory>

#include "net/http/DownloadSpeed.h"
#include "net/http/DownloadTally.h"
#include "net/http/HttpLog.h"
#include "net/http/HttpRequest.h"
#include "net/http/ReplyReader.h"
#include "net/http/Socket_win.h"
#include "net/http/StoppableGet_win.h"

namespace vt {

namespace {

const int kReceiveBuffer = 8192;

std::atomic<DWORD> g_silenceMs{kExchangeSilenceMs};

// Connects within silenceMs: the socket is made non-blocking for the
// connect only, so a peer that never completes the handshake (its accept
// queue full, or a route that swallows the packets) cannot hold the caller
// for the system's own retry schedule. Back to blocking afterwards.
bool ConnectWithin(SOCKET s, const sockaddr_in& address, DWORD silenceMs) {
  u_long mode = 1;
  if (ioctlsocket(s, FIONBIO, &mode) != 0) return false;
  bool connected = connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval limit = {static_cast<long>(silenceMs / 1000), static_cast<long>((silenceMs % 1000) * 1000)};
    if (select(0, nullptr, &writable, &failed, &limit) == 1 && FD_ISSET(s, &writable)) {
      int error = 0;
      int size = sizeof error;
      connected =
          getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 && error == 0;
    }
  }
  mode = 0;
  return connected && ioctlsocket(s, FIONBIO, &mode) == 0;
}

// Steps 1 and 3 to 5 of the common opening on a blocking socket: start-up,
// socket, host lookup, connect. On success *out is the connected socket,
// whose sends and receives give up after silenceMs without progress
// (SO_SNDTIMEO / SO_RCVTIMEO): a receive that times out is a receive error
// to the loops below ("recv err"), so the routine ends as it does when the
// connection breaks.
int32_t OpenBlocking(const UrlParts& url, SOCKET* out) {
  *out = INVALID_SOCKET;
  if (!StartWinsock()) return StartupFailed;
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address;
  if (!ResolveHost(url.host, url.port, &address)) {
    if (s != INVALID_SOCKET) closesocket(s);
    return HostNotFound;
  }
  DWORD silenceMs = ExchangeSilenceMs();
  if (s == INVALID_SOCKET || !ConnectWithin(s, address, silenceMs)) {
    LogLine("connnect failed");
    if (s != INVALID_SOCKET) closesocket(s);
    return ConnectFailed;
  }
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&silenceMs), sizeof silenceMs);
  setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&silenceMs), sizeof silenceMs);
  *out = s;
  return Ok;
}

// The opening, then step 6: the whole request in one send. On success *out
// is the connected socket, the request sent; a failed send closes it.
int32_t OpenAndSend(const UrlParts& url, const std::string& request, SOCKET* out) {
  int32_t result = OpenBlocking(url, out);
  if (result != Ok) return result;
  if (!SendWhole(*out, request.data(), request.size())) {
    LogLine("send err");
    closesocket(*out);
    *out = INVALID_SOCKET;
    return SendFailed;
  }
  return Ok;
}

}  // namespace

DWORD ExchangeSilenceMs() { return g_silenceMs.load(std::memory_order_relaxed); }

void SetExchangeSilenceMs(DWORD ms) {
  g_silenceMs.store(ms ? ms : kExchangeSilenceMs, std::memory_order_relaxed);
}

int32_t FetchText(TransferJob* job) { return FetchText(job, nullptr); }

int32_t FetchText(TransferJob* job, DownloadTally* tally) {
  return FetchText(job, tally, TextBodyCollector::kDefaultLimit);
}

int32_t FetchText(TransferJob* job, DownloadTally* tally, size_t bodyLimit) {
  if (!job) return ConnectFailed;
  UrlParts url = ParseUrl(job->url);
  SOCKET s;
  int32_t result = OpenAndSend(url, ComposeGetRequest(url), &s);
  if (result != Ok) return result;
  job->body.clear();
  TextBodyCollector collector(job->body, bodyLimit);
  char buffer[kReceiveBuffer];
  for (;;) {
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n == SOCKET_ERROR) {
      LogLine("recv err");
      break;
    }
    if (n == 0) {
      LogLine("Ret 0");
      if (tally) tally->NoteOrderlyClose();
      break;
    }
    job->AddReceived(static_cast<uint32_t>(n));
    if (tally) tally->Feed(buffer, static_cast<size_t>(n));
    if (!collector.Feed(buffer, static_cast<size_t>(n))) break;  // body limit reached (then not whole)
  }
  closesocket(s);
  return Ok;
}

int32_t FetchToFile(const char* url, const char* folder) { return FetchToFile(url, folder, nullptr); }

int32_t FetchToFile(const char* url, const char* folder, DownloadTally* tally) {
  UrlParts parts = ParseUrl(url);
  SOCKET s;
  int32_t result = OpenAndSend(parts, ComposeGetRequest(parts), &s);
  if (result != Ok) return result;
  std::string path = std::string(folder ? folder : "") + parts.fileName;
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) {
    closesocket(s);
    return FileOpenFailed;
  }
  DownloadTally local;
  DownloadTally& count = tally ? *tally : local;
  char buffer[kReceiveBuffer];
  for (;;) {
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n == 0) count.NoteOrderlyClose();
    if (n <= 0) break;  // the close, or an error (not logged for this routine)
    size_t start = count.Feed(buffer, static_cast<size_t>(n));
    size_t bytes = static_cast<size_t>(n) - start;
    if (bytes &&
        fwrite(buffer + start, 1, bytes, file) != bytes) {  // disk full: nothing to gain by reading on
      count.NoteWriteFailed();
      break;
    }
  }
  closesocket(s);
  if (fclose(file) != 0) count.NoteWriteFailed();
  return Ok;
}

int32_t PostForm(const UrlParts& url, const std::string& body) { return PostForm(url, body, nullptr); }

int32_t PostForm(const UrlParts& url, const std::string& body, DownloadTally* tally) {
  SOCKET s;
  int32_t result = OpenAndSend(url, ComposePostRequest(url, body), &s);
  if (result != Ok) return result;
  char buffer[kReceiveBuffer];
  for (;;) {
    int n = recv(s, buffer, sizeof buffer, 0);
    if (n == SOCKET_ERROR) {
      LogLine("recv err");
      break;
    }
    if (n == 0) {
      if (tally) tally->NoteOrderlyClose();
      break;
    }
    if (tally) tally->Feed(buffer, static_cast<size_t>(n));
  }
  closesocket(s);
  return Ok;
}

// ---------------------------------------------------------------------------
// TimedDownload and the probe

namespace {
std::atomic<int> g_attemptsAlive{0};
}

struct ProbeAttempt {
  explicit ProbeAttempt(const char* url, DWORD poll) : job(url ? url : ""), pollMs(poll) {
    g_attemptsAlive.fetch_add(1, std::memory_order_relaxed);
  }
  ~ProbeAttempt() { g_attemptsAlive.fetch_sub(1, std::memory_order_relaxed); }

  TransferJob job;
  StopSignal stop;  // this attempt's MeasureStopEvent
  DWORD pollMs;
  // Set (release) by the worker after it has written bytesReceived and
  // speedMbps; the probe reads them only when it sees this (acquire).
  std::atomic<bool> finished{false};
};

int ProbeAttemptsAlive() { return g_attemptsAlive.load(std::memory_order_relaxed); }

namespace {

int32_t RunTimedDownload(ProbeAttempt& attempt) {
  TransferJob& job = attempt.job;
  StoppableSocket s(attempt.stop, attempt.pollMs);
  bool stopped = false;
  int32_t opened = OpenStoppableGet(s, ParseUrl(job.url), &stopped);
  if (opened != Ok || stopped) return opened;  // a stopped attempt has nothing to time

  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  uint32_t total = 0;
  bool loopRan = false;
  if (!attempt.stop.IsSignalled()) {
    loopRan = true;
    char buffer[kReceiveBuffer];
    ReceiveToEnd(s, attempt.stop, buffer, sizeof buffer, [&total](uint32_t n) { total += n; });
  }
  QueryPerformanceCounter(&end);
  s.Close();
  double elapsedMs =
      static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  TimedResult r = TimedDownloadResult(loopRan, total, elapsedMs);
  if (r.stored) {
    job.bytesReceived.store(r.bytesReceived, std::memory_order_relaxed);
    job.speedMbps = r.speedMbps;
  }
  return Ok;
}

}  // namespace

unsigned __stdcall TimedDownload(void* arg) {
  auto* handed = static_cast<std::shared_ptr<ProbeAttempt>*>(arg);
  if (!handed) return static_cast<unsigned>(ConnectFailed);
  std::shared_ptr<ProbeAttempt> attempt = std::move(*handed);
  delete handed;
  if (!attempt) return static_cast<unsigned>(ConnectFailed);
  int32_t result = RunTimedDownload(*attempt);
  attempt->finished.store(true, std::memory_order_release);
  return static_cast<unsigned>(result);
}

double ProbeDownloadSpeed(const char* url, int attempts) {
  return ProbeDownloadSpeed(url, attempts, ProbeTiming(), nullptr);
}

double ProbeDownloadSpeed(const char* url, int attempts, const ProbeTiming& timing,
                          std::vector<ProbeAttemptReport>* reports) {
  if (attempts <= 0) return 0.0;
  double sum = 0.0;
  for (int i = 0; i < attempts; ++i) {
    auto attempt = std::make_shared<ProbeAttempt>(url, timing.pollMs);
    auto* handed = new std::shared_ptr<ProbeAttempt>(attempt);
    uintptr_t thread = _beginthreadex(nullptr, 0, TimedDownload, handed, 0, nullptr);
    if (thread) {
      HANDLE h = reinterpret_cast<HANDLE>(thread);
      WaitForSingleObject(h, timing.attemptWaitMs);
      attempt->stop.Signal();
      WaitForSingleObject(h, timing.settleMs);
      CloseHandle(h);  // a late worker runs on; it holds its own share of the attempt
    } else {
      delete handed;
      attempt->stop.Signal();
    }
    ProbeAttemptReport report;
    if (attempt->finished.load(std::memory_order_acquire)) {
      report.finished = true;
      report.bytesReceived = attempt->job.Received();
      report.speedMbps = attempt->job.speedMbps;
    }
    sum += report.speedMbps;
    LogLine(ProbeLogLine(attempt->job.url, report.bytesReceived, report.speedMbps).c_str());
    if (reports) reports->push_back(report);
  }
  return sum / attempts;
}

}  // namespace vt
