#include "tests/support/LoopbackServer.h"

#include <algorithm>

namespace {

const DWORD kSlice = 50;  // every wait of the server looks at Stop() this often

bool WaitReadable(SOCKET s, DWORD ms) {
  fd_set r;
  FD_ZERO(&r);
  FD_SET(s, &r);
  timeval tv = {static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
  return select(0, &r, nullptr, nullptr, &tv) > 0;
}

bool WaitWritable(SOCKET s, DWORD ms) {
  fd_set w;
  FD_ZERO(&w);
  FD_SET(s, &w);
  timeval tv = {static_cast<long>(ms / 1000), static_cast<long>((ms % 1000) * 1000)};
  return select(0, nullptr, &w, nullptr, &tv) > 0;
}

}  // namespace

void LoopbackServer::StartWinsock() {
  WSADATA data;
  WSAStartup(0x0202, &data);
}

LoopbackServer::LoopbackServer(Handler handler, int backlog) : LoopbackServer(std::move(handler), "127.0.0.1", 0, backlog) {}

LoopbackServer::LoopbackServer(Handler handler, const char* address, uint16_t port, int backlog)
    : handler_(std::move(handler)), address_(address) {
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) return;
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = inet_addr(address);
  a.sin_port = htons(port);
  if (port != 0) {
    // A fixed port is bound again and again by one test: the connections
    // that the last server closed must not keep it.
    BOOL reuse = TRUE;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
  }
  int len = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s, backlog) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    closesocket(s);
    return;
  }
  listener_ = s;
  port_ = ntohs(a.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() { Stop(); }

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://" + address_ + ":" + std::to_string(port_) + path;
}

std::string LoopbackServer::RefusedUrl(const std::string& path) {
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int len = sizeof a;
  bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  closesocket(s);  // bound, never listened on, closed: nothing answers there
  return "http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + path;
}

void LoopbackServer::AcceptLoop() {
  while (!stopping_.load()) {
    if (!WaitReadable(listener_, kSlice)) continue;
    SOCKET c = accept(listener_, nullptr, nullptr);
    if (c == INVALID_SOCKET) continue;
    BOOL noDelay = TRUE;  // each piece a handler sends leaves as its own segment
    setsockopt(c, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    u_long nonBlocking = 1;
    ioctlsocket(c, FIONBIO, &nonBlocking);
    size_t index;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      index = records_.size();
      records_.emplace_back();
    }
    threads_.emplace_back([this, c, index] {
      LoopbackConnection conn(*this, c, index);
      handler_(conn);
      conn.Close();
      handlersDone_.fetch_add(1);
    });
  }
}

void LoopbackServer::Stop() {
  if (stopping_.exchange(true)) return;
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread& t : threads_)
    if (t.joinable()) t.join();
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  listener_ = INVALID_SOCKET;
}

size_t LoopbackServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return records_.size();
}

ConnectionRecord LoopbackServer::Record(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < records_.size() ? records_[index] : ConnectionRecord();
}

bool LoopbackServer::WaitForConnections(size_t count, DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  while (ConnectionCount() < count) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

bool LoopbackServer::WaitForHandlers(DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  while (handlersDone_.load() < ConnectionCount()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

void LoopbackServer::Note(size_t index, const char* data, size_t n) {
  std::lock_guard<std::mutex> lock(mutex_);
  ConnectionRecord& r = records_[index];
  r.total += n;
  size_t room = LoopbackConnection::kKeepBytes - std::min(r.received.size(), LoopbackConnection::kKeepBytes);
  r.received.append(data, std::min(room, n));
}

void LoopbackServer::NoteSent(size_t index, size_t n) {
  std::lock_guard<std::mutex> lock(mutex_);
  records_[index].sent += n;
}

void LoopbackServer::NotePeerClosed(size_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  records_[index].peerClosed = true;
}

bool LoopbackConnection::Stopping() const { return server_.stopping_.load(); }

std::string LoopbackConnection::Received() const { return server_.Record(index_).received; }
uint64_t LoopbackConnection::Total() const { return server_.Record(index_).total; }

int LoopbackConnection::ReceiveSome(DWORD waitMs) {
  if (socket_ == INVALID_SOCKET) return -1;
  if (!WaitReadable(socket_, waitMs)) return 0;
  char buffer[65536];
  int n = recv(socket_, buffer, sizeof buffer, 0);
  if (n > 0) {
    server_.Note(index_, buffer, static_cast<size_t>(n));
    return n;
  }
  if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) return 0;
  server_.NotePeerClosed(index_);
  return -1;
}

bool LoopbackConnection::ReadHeader(std::string* header, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    std::string got = Received();
    size_t end = got.find("\r\n\r\n");
    if (end != std::string::npos) {
      if (header) *header = got.substr(0, end + 4);
      return true;
    }
    if (Stopping() || GetTickCount() - start >= timeoutMs) return false;
    if (ReceiveSome(kSlice) < 0) return false;
  }
}

bool LoopbackConnection::ReadUntilTotal(uint64_t count, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (Total() < count) {
    if (Stopping() || GetTickCount() - start >= timeoutMs) return false;
    if (ReceiveSome(kSlice) < 0) return Total() >= count;
  }
  return true;
}

void LoopbackConnection::ReadUntilClosed(DWORD limitMs) {
  DWORD start = GetTickCount();
  while (!Stopping() && GetTickCount() - start < limitMs)
    if (ReceiveSome(kSlice) < 0) return;
}

bool LoopbackConnection::Send(const std::string& bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    if (Stopping() || socket_ == INVALID_SOCKET) return false;
    int n = send(socket_, bytes.data() + at, static_cast<int>(std::min<size_t>(bytes.size() - at, 1 << 20)), 0);
    if (n > 0) {
      at += static_cast<size_t>(n);
      server_.NoteSent(index_, static_cast<size_t>(n));
      continue;
    }
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
      WaitWritable(socket_, kSlice);
      continue;
    }
    server_.NotePeerClosed(index_);
    return false;
  }
  return true;
}

bool LoopbackConnection::SendPieces(const std::vector<std::string>& pieces, DWORD pauseMs) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i) Sleep(pauseMs);
    if (!Send(pieces[i])) return false;
  }
  return true;
}

void LoopbackConnection::StreamUntilClosed(size_t chunkSize, DWORD limitMs) {
  std::string chunk(chunkSize, 'x');
  DWORD start = GetTickCount();
  while (!Stopping() && GetTickCount() - start < limitMs) {
    if (ReceiveSome(0) < 0) return;
    int n = send(socket_, chunk.data(), static_cast<int>(chunk.size()), 0);
    if (n > 0) {
      server_.NoteSent(index_, static_cast<size_t>(n));
      continue;
    }
    if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
      WaitWritable(socket_, kSlice);
      continue;
    }
    server_.NotePeerClosed(index_);
    return;
  }
}

void LoopbackConnection::Hold(DWORD limitMs, bool read) {
  DWORD start = GetTickCount();
  while (!Stopping() && GetTickCount() - start < limitMs) {
    if (read) {
      if (ReceiveSome(kSlice) < 0) return;
    } else {
      Sleep(kSlice);
    }
  }
}

bool LoopbackConnection::WaitUntil(const std::function<bool()>& done, DWORD limitMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (Stopping() || GetTickCount() - start >= limitMs) return false;
    Sleep(10);
  }
  return true;
}

void LoopbackConnection::Close() {
  if (socket_ == INVALID_SOCKET) return;
  shutdown(socket_, SD_SEND);
  // Let the client read the reply and close first (bounded), so closing
  // never meets unread data, which would reset the connection.
  DWORD start = GetTickCount();
  while (!Stopping() && GetTickCount() - start < 2000)
    if (ReceiveSome(kSlice) < 0) break;
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
}

void LoopbackConnection::Abort() {
  if (socket_ == INVALID_SOCKET) return;
  linger l = {1, 0};
  setsockopt(socket_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
}
