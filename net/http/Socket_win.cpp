#include "net/http/Socket_win.h"

#include <cstring>

#include "net/http/HttpLog.h"
#include "net/http/Url.h"

namespace vt {

bool StartWinsock() {
  WSADATA data;
  if (WSAStartup(0x0202, &data) != 0) {
    LogLine("WSAStartup failed");
    return false;
  }
  return true;
}

bool ResolveHost(const std::string& host, const std::string& port, sockaddr_in* out) {
  hostent* entry = gethostbyname(host.c_str());
  // Only an IPv4 address of the expected size is copied, whatever the
  // resolver hands back.
  if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
      !entry->h_addr_list[0])
    return false;
  memset(out, 0, sizeof *out);
  out->sin_family = AF_INET;
  memcpy(&out->sin_addr, entry->h_addr_list[0], 4);
  out->sin_port = htons(PortNumber(port));
  return true;
}

StopSignal::StopSignal() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

StopSignal::~StopSignal() {
  if (event_) CloseHandle(event_);
}

void StopSignal::Signal() {
  flag_.store(true, std::memory_order_release);
  if (event_) SetEvent(event_);
}

bool StopSignal::Wait(DWORD ms) const {
  if (IsSignalled()) return true;
  if (!event_) {
    Sleep(ms);
    return IsSignalled();
  }
  return WaitForSingleObject(event_, ms) == WAIT_OBJECT_0;
}

bool StoppableSocket::Open() {
  socket_ = socket(AF_INET, SOCK_STREAM, 0);
  if (socket_ == INVALID_SOCKET) return false;
  u_long nonBlocking = 1;
  if (ioctlsocket(socket_, FIONBIO, &nonBlocking) != 0) {
    Close();
    return false;
  }
  return true;
}

void StoppableSocket::Close() {
  if (socket_ != INVALID_SOCKET) {
    closesocket(socket_);  // also ends the socket's link to readable_
    socket_ = INVALID_SOCKET;
  }
  if (readable_) {
    CloseHandle(readable_);
    readable_ = nullptr;
  }
}

StoppableSocket::Outcome StoppableSocket::WaitReady(bool forWrite) {
  for (;;) {
    if (stop_.IsSignalled()) return kStopped;
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(socket_, &ready);
    FD_SET(socket_, &failed);  // a failed non-blocking connect shows here
    timeval slice = {static_cast<long>(pollMs_ / 1000), static_cast<long>((pollMs_ % 1000) * 1000)};
    int n = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, &failed, &slice);
    if (n == SOCKET_ERROR) return kFailed;
    if (n == 0) continue;
    if (FD_ISSET(socket_, &failed)) return kFailed;
    return kDone;
  }
}

StoppableSocket::Outcome StoppableSocket::WaitReadable() {
  if (!stop_.event() || readableFailed_) return WaitReady(false);
  if (!readable_) {
    // Auto-reset: the wait that returns takes the signal with it.
    readable_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!readable_ || WSAEventSelect(socket_, readable_, FD_READ | FD_CLOSE) != 0) {
      if (readable_) CloseHandle(readable_);
      readable_ = nullptr;
      readableFailed_ = true;
      return WaitReady(false);
    }
  }
  if (stop_.IsSignalled()) return kStopped;
  HANDLE both[2] = {readable_, stop_.event()};
  DWORD r = WaitForMultipleObjects(2, both, FALSE, pollMs_);
  if (r == WAIT_OBJECT_0 + 1) return kStopped;
  if (r == WAIT_FAILED) return kFailed;
  // Data, the close, or a slice without either: the caller's receive tells
  // which, and a receive is tried at least once a slice.
  return stop_.IsSignalled() ? kStopped : kDone;
}

StoppableSocket::Outcome StoppableSocket::Connect(const sockaddr_in& address) {
  if (connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return kDone;
  int error = WSAGetLastError();
  if (error != WSAEWOULDBLOCK && error != WSAEINPROGRESS) return kFailed;
  Outcome o = WaitReady(true);
  if (o != kDone) return o;
  int soError = 0;
  int size = sizeof soError;
  if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &size) != 0 ||
      soError != 0)
    return kFailed;
  return kDone;
}

StoppableSocket::Outcome StoppableSocket::SendSome(const char* data, int len, int* accepted) {
  *accepted = 0;
  for (;;) {
    int n = send(socket_, data, len, 0);
    if (n != SOCKET_ERROR) {
      *accepted = n;
      return kDone;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) return kFailed;
    Outcome o = WaitReady(true);
    if (o != kDone) return o;
  }
}

StoppableSocket::Outcome StoppableSocket::SendAll(const char* data, int len) {
  while (len > 0) {
    int n = 0;
    Outcome o = SendSome(data, len, &n);
    if (o != kDone) return o;
    data += n;
    len -= n;
  }
  return kDone;
}

StoppableSocket::Outcome StoppableSocket::Recv(char* buffer, int len, int* got) {
  *got = 0;
  if (drained_) {
    drained_ = false;
    Outcome o = WaitReadable();
    if (o != kDone) return o;
  }
  for (;;) {
    int n = recv(socket_, buffer, len, 0);
    if (n != SOCKET_ERROR) {
      *got = n;
      drained_ = n > 0 && n < len;
      return kDone;
    }
    if (WSAGetLastError() != WSAEWOULDBLOCK) return kFailed;
    Outcome o = WaitReadable();
    if (o != kDone) return o;
  }
}

bool SendWhole(SOCKET s, const char* data, size_t len) {
  while (len > 0) {
    int chunk = len > 0x40000000 ? 0x40000000 : static_cast<int>(len);
    int n = send(s, data, chunk, 0);
    if (n == SOCKET_ERROR) return false;
    data += n;
    len -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace vt
