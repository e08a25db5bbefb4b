#include "base/LogFileRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace vt {

namespace {

bool KeyAt(const std::string& text, size_t at, const char* key) {
  size_t i = 0;
  for (; key[i]; ++i) {
    if (at + i >= text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != key[i]) return false;
  }
  // The key must start a word, so "bypass=" is left alone.
  return at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
}

bool LineEnd(char c) { return c == '\r' || c == '\n'; }

// Days since an arbitrary origin for YYYYMMDD, enough to compare ages.
long DayNumber(int ymd) {
  int y = ymd / 10000, m = ymd / 100 % 100, d = ymd % 100;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  return 365L * y + y / 4 - y / 100 + y / 400 + (153 * (m - 3) + 2) / 5 + d;
}

bool EndsWith(const std::string& s, const char* tail) {
  size_t n = std::char_traits<char>::length(tail);
  return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// "crash-20261211-003307-1234" of a crash report's .txt or .dmp, else "".
std::string CrashBaseName(const std::string& name) {
  if (name.compare(0, 6, "crash-") != 0 || name.size() <= 10) return "";
  if (!EndsWith(name, ".txt") && !EndsWith(name, ".dmp")) return "";
  return name.substr(0, name.size() - 4);
}

}  // namespace

std::string MaskSecrets(const std::string& text) {
  static const char* const keys[] = {"password=", "pass=", "pwd="};
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char* hit = nullptr;
    for (const char* key : keys)
      if (KeyAt(text, i, key)) {
        hit = key;
        break;
      }
    if (!hit) {
      out += text[i++];
      continue;
    }
    size_t keyLen = std::char_traits<char>::length(hit);
    out.append(text, i, keyLen);
    i += keyLen;
    while (i < text.size() && !LineEnd(text[i])) ++i;
    out += "***";
  }
  return out;
}

std::string FormatLogRecord(const LogClock& c, uint32_t threadId, const std::string& text) {
  char head[80];
  std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d.%03d [%u] ", c.year, c.month, c.day, c.hour,
                c.minute, c.second, c.millisecond, threadId);
  std::string masked = MaskSecrets(text);
  std::string out;
  size_t start = 0;
  while (start < masked.size()) {
    size_t end = start;
    while (end < masked.size() && !LineEnd(masked[end])) ++end;
    bool blank = true;
    for (size_t i = start; i < end && blank; ++i) blank = std::isspace(static_cast<unsigned char>(masked[i])) != 0;
    if (!blank) {
      out += head;
      out.append(masked, start, end - start);
      out += "\r\n";
    }
    start = end + 1;
  }
  return out;
}

std::string LogFileName(int year, int month, int day) {
  char name[48];
  std::snprintf(name, sizeof name, "veltrane-%04d%02d%02d.log", year, month, day);
  return name;
}

int LogFileDate(const std::string& name) {
  // veltrane-YYYYMMDD.log
  if (name.size() != 21 || name.compare(0, 9, "veltrane-") != 0 || name.compare(17, 4, ".log") != 0) return 0;
  int v = 0;
  for (size_t i = 9; i < 17; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    v = v * 10 + (name[i] - '0');
  }
  return v;
}

long DaysBetween(int a, int b) { return DayNumber(b) - DayNumber(a); }

bool LogQueue::Push(std::string line) {
  std::lock_guard<std::mutex> hold(lock_);
  if (lines_.size() >= maxLines_ || bytes_ + line.size() > maxBytes_) {
    ++dropped_;
    return false;
  }
  bytes_ += line.size();
  lines_.push_back(std::move(line));
  return true;
}

std::vector<std::string> LogQueue::TakeAll(uint64_t* dropped) {
  std::lock_guard<std::mutex> hold(lock_);
  std::vector<std::string> out(std::make_move_iterator(lines_.begin()), std::make_move_iterator(lines_.end()));
  lines_.clear();
  bytes_ = 0;
  if (dropped) *dropped = dropped_;
  dropped_ = 0;
  return out;
}

bool LogQueue::TryEmpty() {
  std::unique_lock<std::mutex> hold(lock_, std::try_to_lock);
  return hold.owns_lock() && lines_.empty();
}

std::string DroppedLinesText(uint64_t dropped) {
  return "log: " + std::to_string(dropped) + " lines dropped, the log writer fell behind";
}

std::vector<std::string> LogFilesToRemove(const std::vector<LogFileEntry>& files, int today) {
  std::vector<LogFileEntry> logs;
  std::set<std::string> crashes;
  for (const auto& f : files) {
    if (LogFileDate(f.name) != 0) logs.push_back(f);
    std::string base = CrashBaseName(f.name);
    if (!base.empty()) crashes.insert(base);
  }
  std::sort(logs.begin(), logs.end(), [](const LogFileEntry& a, const LogFileEntry& b) { return a.name < b.name; });
  std::vector<std::string> remove;
  uint64_t total = 0;
  for (const auto& f : logs) total += f.size;
  for (const auto& f : logs) {
    int date = LogFileDate(f.name);
    if (date == today) continue;
    if (DaysBetween(date, today) >= kLogKeepDays || total > kLogKeepBytes) {
      remove.push_back(f.name);
      total -= f.size;
    }
  }
  // The names sort by time; the oldest reports beyond the kept number go.
  size_t excess = crashes.size() > static_cast<size_t>(kCrashReportsKept) ? crashes.size() - kCrashReportsKept : 0;
  std::set<std::string> old;
  for (auto it = crashes.begin(); excess > 0; ++it, --excess) old.insert(*it);
  for (const auto& f : files) {
    std::string base = CrashBaseName(f.name);
    if (!base.empty() && old.count(base)) remove.push_back(f.name);
  }
  return remove;
}

}  // namespace vt
