// The records every HTTP routine shares: the per-connection job
// record TransferJob and the integer result codes RequestResult.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace vt {

// Result of every request routine (a thread's exit code for TimedDownload).
// Code 2 is not used. No routine looks at the HTTP status line.
enum RequestResult : int32_t {
  Ok = 0,              // the exchange ran to its end (a receive error or an early close too)
  StartupFailed = 1,   // Windows Sockets cannot be initialised
  HostNotFound = 3,    // the host name did not resolve
  ConnectFailed = 4,   // the TCP connection failed
  SendFailed = 5,      // sending the request failed
  FileOpenFailed = 6,  // FetchToFile only: the output file cannot be created
};

// The record handed to a worker; owned by whoever starts the worker, and it
// must outlive the worker's use of it. The counters have one writer each
// (their own worker) and are read whole by a monitor without a lock:
// relaxed atomic loads and stores, never a read-modify-write shared between
// threads. A fresh job has url set, every counter 0, body empty, speed 0.
struct TransferJob {
  TransferJob() = default;
  explicit TransferJob(std::string jobUrl, int32_t isUpload = 0) : url(std::move(jobUrl)), upload(isUpload) {}
  TransferJob(const TransferJob&) = delete;
  TransferJob& operator=(const TransferJob&) = delete;

  std::string url;                         // the URL to fetch or to upload to
  std::atomic<uint32_t> bytesReceived{0};  // bytes received, header bytes included
  std::atomic<uint32_t> bytesSent{0};      // upload body bytes accepted so far (upload workers)
  std::atomic<uint32_t> connState{0};      // 0 idle, 1 connecting, 2 connected (upload workers)
  int32_t upload = 0;                      // non-zero: the upload request of the bandwidth engine
  std::string body;                        // reply body kept by FetchText
  double speedMbps = 0.0;                  // measured speed, Mbit/s (1 Mbit = 2^20 bits)

  // The single writer adds to its own counter: a plain load-add-store.
  void AddReceived(uint32_t n) {
    bytesReceived.store(bytesReceived.load(std::memory_order_relaxed) + n, std::memory_order_relaxed);
  }
  uint32_t Received() const { return bytesReceived.load(std::memory_order_relaxed); }
  uint32_t Sent() const { return bytesSent.load(std::memory_order_relaxed); }
};

}  // namespace vt
