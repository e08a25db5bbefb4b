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
//     log's size) and is sent late rather than dropped, so loss means loss;
//  f) Stop joins every thread before it returns (bounded by a time-out and
//     slack): what is still queued is not sent, a probe in flight ends
//     with its call. A console certification ends only after it, so no
//     thread of the prober is left when the process exits.
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

constexpr unsigned kSenders = 32;  // a time-out holds 25 probes
// Stop's wait for the threads: a sender inside its call ends within the
// time-out; the rest is slack for a loaded machine.
constexpr DWORD kStopWaitMs = LineProber::kTimeOutMs + 2000;

// What the threads of one run share besides the log: their wake-ups and
// their stop flag. A run's threads read only their own control, so a thread
// that outlives Stop's bound (it never has, but the bound is a bound) cannot
// take a probe of a later run or end it early; its control is then never
// freed.
struct RunControl {
  uint32_t run = 0;
  HANDLE work = nullptr;  // semaphore: one count per queued probe, kSenders more at Stop
  std::atomic<bool> stop{false};
};

struct Job {
  uint32_t run;
  uint32_t seq;
};

struct ProberState {
  std::mutex lock;  // guards log, queue, last, haveRun, run
  ProbeLog log{LineProber::kTimeOutMs * 1000u};
  std::deque<Job> queue;
  LineQuality last;
  bool haveRun = false;
  uint32_t run = 0;  // the current run's number; results of another run are dropped
  RunControl* control = nullptr;
  HANDLE threads[kSenders + 1] = {};
  unsigned threadCount = 0;
  IPAddr target = 0;
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

unsigned __stdcall SenderThread(void* arg) {
  RunControl& c = *static_cast<RunControl*>(arg);
  ProberState& s = State();
  HANDLE icmp = IcmpCreateFile();
  char payload[32];
  memset(payload, 'v', sizeof payload);
  char reply[sizeof(ICMP_ECHO_REPLY) + sizeof payload + 64];
  for (;;) {
    WaitForSingleObject(c.work, INFINITE);
    if (c.stop.load()) break;  // probes still queued are never sent
    Job job;
    {
      std::lock_guard<std::mutex> g(s.lock);
      if (s.queue.empty() || s.queue.front().run != c.run) continue;
      job = s.queue.front();
      s.queue.pop_front();
    }
    bool answered = false;
    uint32_t us32 = 0;
    if (icmp != INVALID_HANDLE_VALUE) {
      LARGE_INTEGER t0, t1;
      QueryPerformanceCounter(&t0);
      DWORD count = IcmpSendEcho(icmp, s.target, payload, sizeof payload, nullptr, reply, sizeof reply,
                                 LineProber::kTimeOutMs);
      QueryPerformanceCounter(&t1);
      const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(reply);
      if (count > 0 && r->Status == IP_SUCCESS) {
        uint64_t us = static_cast<uint64_t>(t1.QuadPart - t0.QuadPart) * 1000000u /
                      static_cast<uint64_t>(s.frequency.QuadPart);
        answered = true;
        us32 = us > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(us);
      }
    }
    std::lock_guard<std::mutex> g(s.lock);
    if (job.run != s.run) continue;  // a probe of an earlier run
    if (answered) s.log.Replied(job.seq, us32);
    else s.log.Lost(job.seq);  // timed out, refused, unreachable or not sent
  }
  if (icmp != INVALID_HANDLE_VALUE) IcmpCloseHandle(icmp);
  return 0;
}

unsigned __stdcall SchedulerThread(void* arg) {
  RunControl& c = *static_cast<RunControl*>(arg);
  ProberState& s = State();
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  const uint64_t ticksPerProbe = static_cast<uint64_t>(s.frequency.QuadPart) / LineProber::kProbesPerSecond;
  for (uint64_t n = 0; !c.stop.load(); ++n) {
    uint64_t due = static_cast<uint64_t>(start.QuadPart) + n * ticksPerProbe;
    for (;;) {
      QueryPerformanceCounter(&now);
      if (static_cast<uint64_t>(now.QuadPart) >= due || c.stop.load()) break;
      uint64_t waitMs =
          (due - static_cast<uint64_t>(now.QuadPart)) * 1000u / static_cast<uint64_t>(s.frequency.QuadPart);
      Sleep(static_cast<DWORD>(waitMs > 0 ? waitMs : 1));
    }
    if (c.stop.load()) break;
    {
      std::lock_guard<std::mutex> g(s.lock);
      uint32_t seq = 0;
      if (!s.log.Open(static_cast<ProbePhase>(s.phase.load()), &seq)) break;  // at the log's bound
      s.queue.push_back(Job{c.run, seq});
    }
    ReleaseSemaphore(c.work, 1, nullptr);
  }
  return 0;
}

// Ends the threads of the current run: they see the stop flag at their
// next wake-up (the scheduler within a tick, a sender when its probe in
// flight ends). False when one outlived the bound; the run's control then
// stays allocated for it.
bool EndThreads(ProberState& s) {
  RunControl* c = s.control;
  if (!c) return true;
  c->stop.store(true);
  ReleaseSemaphore(c->work, kSenders, nullptr);
  DWORD r =
      s.threadCount ? WaitForMultipleObjects(s.threadCount, s.threads, TRUE, kStopWaitMs) : WAIT_OBJECT_0;
  bool joined = r < WAIT_OBJECT_0 + s.threadCount || s.threadCount == 0;
  for (unsigned i = 0; i < s.threadCount; ++i) CloseHandle(s.threads[i]);
  s.threadCount = 0;
  s.control = nullptr;
  if (joined) {
    CloseHandle(c->work);
    delete c;
  }
  return joined;
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
  auto* c = new RunControl;
  c->work = CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr);
  if (!c->work) {
    delete c;
    return false;
  }
  {
    std::lock_guard<std::mutex> g(s.lock);
    s.log = ProbeLog(kTimeOutMs * 1000u);
    s.queue.clear();
    s.haveRun = false;
    c->run = ++s.run;
  }
  s.target = target;
  s.control = c;
  s.threadCount = 0;
  for (unsigned i = 0; i <= kSenders; ++i) {
    uintptr_t h = _beginthreadex(nullptr, 64 * 1024, i == 0 ? SchedulerThread : SenderThread, c,
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
  EndThreads(s);
  std::lock_guard<std::mutex> g(s.lock);
  // Probes queued but never sent, and any a sender past the bound still
  // holds, stay open: an open probe is counted neither way.
  s.queue.clear();
  s.last = ComputeLineQuality(s.log.Closed());
  s.haveRun = true;
  ++s.run;  // whatever still comes back belongs to no run
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
