// Constraints of the background prober:
//  a) a probe that is not answered blocks IcmpSendEcho for the whole time-out,
//     so one sender cannot keep 25 a second through a loss; a scheduler
//     thread hands numbered probes to a pool of senders, each with its own
//     ICMP handle, as many as the probes a time-out can hold plus spares;
//  b) the schedule is absolute (start + n × 40 ms): Sleep's coarse ticks on
//     Windows delay single probes, never the rate;
//  c) the delay is timed with the performance counter around the call, in
//     microseconds (RoundTripTime counts whole milliseconds);
//  d) a probe is stamped with the phase when it is scheduled; a reply that
//     comes back after the time-out is a loss (ProbeLog);
//  e) when every sender is busy the probe waits in the queue (bounded at the
//     log's size) and is sent late rather than dropped, so loss means loss.
#include "engines/quality/LineProber_win.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <process.h>

#include <atomic>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>

namespace vt {
namespace {

constexpr unsigned kSenders = 32;   // a time-out holds 25 probes
constexpr DWORD kStopWaitMs = 3000;  // the senders' last probes end within a time-out

struct Job {
  uint32_t seq;
};

struct ProberState {
  std::mutex lock;  // guards log, queue, last
  ProbeLog log{LineProber::kTimeOutMs * 1000u};
  std::deque<Job> queue;
  LineQuality last;
  bool haveRun = false;
  HANDLE work = nullptr;  // semaphore: one count per queued probe
  HANDLE threads[kSenders + 1] = {};
  unsigned threadCount = 0;
  IPAddr target = 0;
  std::atomic<bool> stop{false};
  std::atomic<bool> running{false};
  std::atomic<bool> enabled{true};
  std::atomic<uint8_t> phase{static_cast<uint8_t>(ProbePhase::Idle)};
  LARGE_INTEGER frequency = {};
};

ProberState& State() {
  static ProberState* s = new ProberState;  // threads may outlive every window
  return *s;
}

bool Resolve(const char* host, IPAddr* address) {
  std::string name(host);
  // "host:port" loses its port; an IPv6 text (more than one colon) stays
  // whole and finds no IPv4 address.
  size_t colon = name.find(':');
  if (colon != std::string::npos && name.find(':', colon + 1) == std::string::npos) name.resize(colon);
  if (name.empty()) return false;
  in_addr a;
  if (inet_pton(AF_INET, name.c_str(), &a) == 1) {
    *address = a.s_addr;
    return true;
  }
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return false;
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  bool ok = getaddrinfo(name.c_str(), nullptr, &hints, &found) == 0 && found;
  if (ok) *address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
  if (found) freeaddrinfo(found);
  WSACleanup();
  return ok;
}

unsigned __stdcall SenderThread(void*) {
  ProberState& s = State();
  HANDLE icmp = IcmpCreateFile();
  char payload[32];
  memset(payload, 'v', sizeof payload);
  char reply[sizeof(ICMP_ECHO_REPLY) + sizeof payload + 64];
  for (;;) {
    WaitForSingleObject(s.work, INFINITE);
    Job job;
    {
      std::lock_guard<std::mutex> g(s.lock);
      if (s.queue.empty()) {
        if (s.stop.load()) break;
        continue;
      }
      job = s.queue.front();
      s.queue.pop_front();
    }
    if (icmp == INVALID_HANDLE_VALUE) {
      std::lock_guard<std::mutex> g(s.lock);
      s.log.Lost(job.seq);
      continue;
    }
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    DWORD count = IcmpSendEcho(icmp, s.target, payload, sizeof payload, nullptr, reply, sizeof reply,
                               LineProber::kTimeOutMs);
    QueryPerformanceCounter(&t1);
    const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
    std::lock_guard<std::mutex> g(s.lock);
    if (count > 0 && r->Status == IP_SUCCESS) {
      uint64_t us = static_cast<uint64_t>(t1.QuadPart - t0.QuadPart) * 1000000u /
                    static_cast<uint64_t>(s.frequency.QuadPart);
      s.log.Replied(job.seq, us > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(us));
    } else {
      s.log.Lost(job.seq);  // timed out, refused, unreachable or not sent
    }
  }
  if (icmp != INVALID_HANDLE_VALUE) IcmpCloseHandle(icmp);
  return 0;
}

unsigned __stdcall SchedulerThread(void*) {
  ProberState& s = State();
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  const uint64_t ticksPerProbe = static_cast<uint64_t>(s.frequency.QuadPart) / LineProber::kProbesPerSecond;
  for (uint64_t n = 0; !s.stop.load(); ++n) {
    uint64_t due = static_cast<uint64_t>(start.QuadPart) + n * ticksPerProbe;
    for (;;) {
      QueryPerformanceCounter(&now);
      if (static_cast<uint64_t>(now.QuadPart) >= due || s.stop.load()) break;
      uint64_t waitMs = (due - static_cast<uint64_t>(now.QuadPart)) * 1000u /
                        static_cast<uint64_t>(s.frequency.QuadPart);
      Sleep(static_cast<DWORD>(waitMs > 0 ? waitMs : 1));
    }
    if (s.stop.load()) break;
    uint32_t seq = 0;
    {
      std::lock_guard<std::mutex> g(s.lock);
      if (!s.log.Open(static_cast<ProbePhase>(s.phase.load()), &seq)) break;  // at the log's bound
      s.queue.push_back(Job{seq});
    }
    ReleaseSemaphore(s.work, 1, nullptr);
  }
  return 0;
}

}  // namespace

LineProber& LineProber::Instance() {
  static LineProber* p = new LineProber;
  return *p;
}

bool LineProber::Start(const char* host) {
  ProberState& s = State();
  if (s.running.load() || !s.enabled.load() || !host) return false;
  IPAddr target = 0;
  if (!Resolve(host, &target)) return false;
  QueryPerformanceFrequency(&s.frequency);
  {
    std::lock_guard<std::mutex> g(s.lock);
    s.log = ProbeLog(kTimeOutMs * 1000u);
    s.queue.clear();
    s.haveRun = false;
  }
  s.target = target;
  s.stop.store(false);
  if (!s.work) s.work = CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr);
  if (!s.work) return false;
  s.threadCount = 0;
  for (unsigned i = 0; i <= kSenders; ++i) {
    uintptr_t h = _beginthreadex(nullptr, 64 * 1024, i == 0 ? SchedulerThread : SenderThread, nullptr,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!h) break;
    s.threads[s.threadCount++] = reinterpret_cast<HANDLE>(h);
  }
  s.running.store(true);
  if (s.threadCount != kSenders + 1) {
    Stop();
    return false;
  }
  return true;
}

void LineProber::SetPhase(ProbePhase phase) { State().phase.store(static_cast<uint8_t>(phase)); }

void LineProber::Stop() {
  ProberState& s = State();
  if (!s.running.load()) return;
  s.stop.store(true);
  // The scheduler ends at its next tick; each sender sends what is queued,
  // then takes one of these counts as its signal to end.
  ReleaseSemaphore(s.work, kSenders, nullptr);
  WaitForMultipleObjects(s.threadCount, s.threads, TRUE, kStopWaitMs);
  for (unsigned i = 0; i < s.threadCount; ++i) CloseHandle(s.threads[i]);
  s.threadCount = 0;
  std::lock_guard<std::mutex> g(s.lock);
  // A sender still inside its call past the bound leaves its probe open; an
  // open probe is not counted either way.
  s.last = ComputeLineQuality(s.log.Closed());
  s.haveRun = true;
  s.running.store(false);
}

bool LineProber::running() const { return State().running.load(); }

LineQuality LineProber::Figures() const {
  ProberState& s = State();
  std::lock_guard<std::mutex> g(s.lock);
  if (s.haveRun) return s.last;
  return ComputeLineQuality(s.log.Closed());
}

void LineProber::SetEnabled(bool enabled) { State().enabled.store(enabled); }

bool LineProber::enabled() const { return State().enabled.load(); }

}  // namespace vt
