// An in-process HTTP test server on 127.0.0.1 for the Win32 tests of the
// HTTP client and the bandwidth engine. Each accepted connection runs a
// handler of the test's on its own thread; every byte the server receives
// is recorded (the first kKeepBytes verbatim, all of them counted), so a
// test compares request bytes exactly. Every wait of the server is bounded
// and gives way to Stop(), so a test never hangs on it.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackServer;

struct ConnectionRecord {
  std::string received;   // the first kKeepBytes bytes, as received
  uint64_t total = 0;     // every byte received
  uint64_t sent = 0;      // every byte the handler sent
  bool peerClosed = false;  // the client closed (or reset) its side
};

class LoopbackConnection {
 public:
  static constexpr size_t kKeepBytes = 1 << 20;

  size_t index() const { return index_; }
  // Reads until the received bytes hold "\r\n\r\n"; false on close, error,
  // stop or timeout. Returns the header (up to and including the blank line).
  bool ReadHeader(std::string* header = nullptr, DWORD timeoutMs = 5000);
  // Reads until `count` bytes have been received in all (header included).
  bool ReadUntilTotal(uint64_t count, DWORD timeoutMs = 5000);
  // Reads and counts until the client closes, the server stops or limitMs.
  void ReadUntilClosed(DWORD limitMs = 60000);
  // Sends all bytes (false when the client is gone or the server stops).
  bool Send(const std::string& bytes);
  // Sends each piece in its own send, pausing pauseMs between pieces.
  bool SendPieces(const std::vector<std::string>& pieces, DWORD pauseMs);
  // Sends chunk after chunk of `chunkSize` bytes until the client goes away,
  // the server stops or limitMs passes; reads whatever the client sends.
  void StreamUntilClosed(size_t chunkSize = 65536, DWORD limitMs = 60000);
  // Holds the connection without sending until the client closes, the
  // server stops or limitMs passes. With read=false nothing is read either,
  // so a sending client's buffers fill up.
  void Hold(DWORD limitMs = 60000, bool read = true);
  // Waits until `done` holds, the server stops or limitMs passes.
  bool WaitUntil(const std::function<bool()>& done, DWORD limitMs);
  void Close();   // graceful
  void Abort();   // reset
  std::string Received() const;
  uint64_t Total() const;

 private:
  friend class LoopbackServer;
  LoopbackConnection(LoopbackServer& server, SOCKET s, size_t index) : server_(server), socket_(s), index_(index) {}
  // One receive of whatever is there within waitMs: >0 bytes, 0 nothing
  // yet, -1 closed or error.
  int ReceiveSome(DWORD waitMs);
  bool Stopping() const;

  LoopbackServer& server_;
  SOCKET socket_;
  size_t index_;
};

class LoopbackServer {
 public:
  using Handler = std::function<void(LoopbackConnection&)>;

  explicit LoopbackServer(Handler handler, int backlog = SOMAXCONN);
  // Listens on a given loopback address and port (0: any free port), e.g.
  // the compiled-in platform address; ok() is false when it is taken.
  LoopbackServer(Handler handler, const char* address, uint16_t port, int backlog = SOMAXCONN);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  bool ok() const { return listener_ != INVALID_SOCKET; }
  uint16_t port() const { return port_; }
  // "http://<address>:<port>" + path
  std::string Url(const std::string& path) const;

  size_t ConnectionCount() const;
  ConnectionRecord Record(size_t index) const;
  bool WaitForConnections(size_t count, DWORD timeoutMs) const;
  // Waits until every connection's handler has returned.
  bool WaitForHandlers(DWORD timeoutMs) const;
  // Stops accepting, tells every handler to finish, joins all threads.
  void Stop();

  // A URL on which nothing listens (connections are refused).
  static std::string RefusedUrl(const std::string& path);
  // Starts Windows Sockets for the test process.
  static void StartWinsock();

 private:
  friend class LoopbackConnection;
  void AcceptLoop();
  void Note(size_t index, const char* data, size_t n);
  void NoteSent(size_t index, size_t n);
  void NotePeerClosed(size_t index);

  Handler handler_;
  std::string address_;
  SOCKET listener_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<size_t> handlersDone_{0};
  mutable std::mutex mutex_;
  std::vector<ConnectionRecord> records_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};
