// The thin Winsock layer under the HTTP routines and the
// bandwidth workers.
//
// Constraints this layer keeps:
//  a) Every routine starts Windows Sockets 2.2 for itself and never undoes it.
//  b) The plain routines (FetchText, FetchToFile, PostForm) use blocking
//     sockets whose connect, sends and receives each give up after
//     ExchangeSilenceMs() without progress (HttpClient_win.h): nothing
//     stops them from outside, so silence is their only bound.
//  c) A worker that a controlling thread stops (TimedDownload, the bandwidth
//     workers) uses a StoppableSocket: non-blocking, and every wait for the
//     peer (connect, room to send, data to receive) lasts at most
//     kStopPollMs, after which the stop signal is looked at. A dead connect,
//     send or receive therefore keeps a worker at most kStopPollMs past the
//     stop, while a transfer that is merely slow is never cut short: only
//     the stop ends it. Nothing closes a socket from another thread (the
//     handle value could be reused by then).
//  d) A socket is closed on every path after it was created, by its owner.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace vt {

// How long a stoppable wait blocks before it looks at the stop signal again.
constexpr DWORD kStopPollMs = 100;

// WSAStartup with version 0x0202; logs "WSAStartup failed" when it fails.
bool StartWinsock();

// gethostbyname on host, first address of the list, at the port number of
// port (PortNumber). False when the name does not resolve to IPv4.
bool ResolveHost(const std::string& host, const std::string& port, sockaddr_in* out);

// A stop signal set once by a controlling thread and polled by workers: a
// manual-reset event (for waits) mirrored by an atomic flag (for the poll
// after every chunk, which would otherwise be a kernel call per 8 KB, and
// under Wine a round trip to the wineserver). Signal sets the flag, then the
// event.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  bool valid() const { return event_ != nullptr; }
  void Signal();
  bool IsSignalled() const { return flag_.load(std::memory_order_acquire); }
  HANDLE event() const { return event_; }
  // Waits for the signal at most ms milliseconds; true when it is set.
  bool Wait(DWORD ms) const;

 private:
  HANDLE event_;
  std::atomic<bool> flag_{false};
};

// A TCP socket whose waits give way to a StopSignal (constraint c above).
class StoppableSocket {
 public:
  enum Outcome { kDone, kFailed, kStopped };

  StoppableSocket(const StopSignal& stop, DWORD pollMs = kStopPollMs) : stop_(stop), pollMs_(pollMs) {}
  ~StoppableSocket() { Close(); }
  StoppableSocket(const StoppableSocket&) = delete;
  StoppableSocket& operator=(const StoppableSocket&) = delete;

  // socket(AF_INET, SOCK_STREAM, 0), made non-blocking.
  bool Open();
  SOCKET handle() const { return socket_; }
  Outcome Connect(const sockaddr_in& address);
  // Sends all len bytes; a request on a fresh connection goes in one send.
  Outcome SendAll(const char* data, int len);
  // One send of up to len bytes once there is room; *accepted = bytes taken.
  Outcome SendSome(const char* data, int len, int* accepted);
  // One receive once data (or the close) is there: *got > 0 bytes, 0 when
  // the peer closed. After a receive that emptied the socket (fewer bytes
  // than asked for) the next one waits for data before it asks: a receive
  // that can only fail costs a call all the same (under Wine a round trip
  // to the wineserver).
  Outcome Recv(char* buffer, int len, int* got);
  void Close();

 private:
  // Waits with select until the socket is writable (or readable), in slices
  // of pollMs_.
  Outcome WaitReady(bool forWrite);
  // Waits until data or the close has come, or the stop, at most pollMs_:
  // on the socket's network event and the stop's event together. One wait
  // costs one kernel call (under Wine one wineserver request); a select
  // costs several, and at 1 Gbit/s the receive waits come a thousand times a
  // second. Falls back to WaitReady when no event can be had.
  Outcome WaitReadable();

  const StopSignal& stop_;
  DWORD pollMs_;
  SOCKET socket_ = INVALID_SOCKET;
  bool drained_ = false;  // the last receive took all the socket held
  HANDLE readable_ = nullptr;  // FD_READ | FD_CLOSE of socket_, made on the first wait
  bool readableFailed_ = false;
};

// Plain blocking helper for the routines of constraint b.
// send() in a loop until every byte is accepted; false on an error.
bool SendWhole(SOCKET s, const char* data, size_t len);

}  // namespace vt
