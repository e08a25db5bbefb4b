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

// Replaces the values of Pass=, Password= and Pwd= (any case, at the start
// of a word) by "***". A password goes out as typed, so it may hold '&', a
// space or anything else: its value is taken to run to the end of its line.
std::string MaskSecrets(const std::string& text);

struct LogClock {
  int year, month, day, hour, minute, second, millisecond;
};

// Each line of text as "2026-12-11 00:03:07.042 [1234] line\r\n", masked.
// A text that holds several lines (a command's output) gives one stamped
// line each; blank lines and the text's own line ends are dropped, so ""
// gives "". The file is read with Notepad, hence "\r\n".
std::string FormatLogRecord(const LogClock& clock, uint32_t threadId, const std::string& text);

// "veltrane-20261211.log"
std::string LogFileName(int year, int month, int day);
// YYYYMMDD of a name LogFileName gives, 0 for any other name.
int LogFileDate(const std::string& name);

// Lines for the writer thread. Push never waits for the writer, only for
// the lock around the list; beyond maxLines lines or maxBytes bytes waiting
// a line is dropped and counted.
class LogQueue {
 public:
  LogQueue(size_t maxLines, size_t maxBytes) : maxLines_(maxLines), maxBytes_(maxBytes) {}
  bool Push(std::string line);
  // Takes every waiting line and the count dropped since the last call.
  std::vector<std::string> TakeAll(uint64_t* dropped);
  // Nothing waits. False also when the lock is held: a crash report asks
  // while the crashed thread may hold it, and must not wait for it.
  bool TryEmpty();

 private:
  std::mutex lock_;
  std::deque<std::string> lines_;
  size_t maxLines_, maxBytes_;
  size_t bytes_ = 0;
  uint64_t dropped_ = 0;
};

// The line the writer adds after lines were dropped.
std::string DroppedLinesText(uint64_t dropped);

struct LogFileEntry {
  std::string name;  // veltrane-YYYYMMDD.log or crash-*.txt / .dmp; other names are never removed
  uint64_t size;
};

constexpr int kLogKeepDays = 7;
constexpr uint64_t kLogKeepBytes = 20ull * 1024 * 1024;
// Today's file stops growing here, so a flood cannot fill the disk either.
constexpr uint64_t kLogDayFileBytes = 10ull * 1024 * 1024;
// Crash reports are kept by number, not age: the support desk may ask for
// one weeks later. A report is a .txt and a .dmp with one base name.
constexpr int kCrashReportsKept = 10;

// Names to delete: log files kLogKeepDays old or more (today as YYYYMMDD),
// then the oldest log files while the rest exceed kLogKeepBytes (today's file
// is never chosen); and the files of all but the newest kCrashReportsKept
// crash reports.
std::vector<std::string> LogFilesToRemove(const std::vector<LogFileEntry>& files, int today);

// Days from a to b, both YYYYMMDD.
long DaysBetween(int a, int b);

}  // namespace vt
