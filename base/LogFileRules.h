// Rules of the daily log file, kept free of Windows so they are tested natively:
// what is masked, how a line looks, how many lines may wait for the writer,
// and which old files go.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace vt {

// Replaces the values of Pass=, Password= and Pwd= (any case) by "***".
// A value ends at '&', ';', ',', a space, a quote or a line end.
std::string MaskSecrets(const std::string& text);

struct LogClock {
  int year, month, day, hour, minute, second, millisecond;
};

// "2026-12-11 00:03:07.042 [1234] text", the text masked; no line end.
std::string FormatLogFileLine(const LogClock& clock, uint32_t threadId, const std::string& text);

// "veltrane-20261211.log"
std::string LogFileName(int year, int month, int day);

// Lines for the writer thread. Push never blocks on the writer for longer than
// the lock; at the bound a line is dropped and counted.
class LogQueue {
 public:
  explicit LogQueue(size_t maxLines) : maxLines_(maxLines) {}
  bool Push(std::string line);
  // Takes every waiting line and the count dropped since the last call.
  std::vector<std::string> TakeAll(uint64_t* dropped);

 private:
  std::mutex lock_;
  std::deque<std::string> lines_;
  size_t maxLines_;
  uint64_t dropped_ = 0;
};

struct LogFileEntry {
  std::string name;  // veltrane-YYYYMMDD.log; other names are never removed
  uint64_t size;
};

constexpr int kLogKeepDays = 7;
constexpr uint64_t kLogKeepBytes = 20ull * 1024 * 1024;

// Names to delete: files older than kLogKeepDays before today (YYYYMMDD as a
// number), then the oldest while the rest exceed kLogKeepBytes. Today's file
// is never chosen.
std::vector<std::string> LogFilesToRemove(const std::vector<LogFileEntry>& files, int today);

}  // namespace vt
