#include "base/LogFileRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

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

bool EndsValue(char c) {
  return c == '&' || c == ';' || c == ',' || c == ' ' || c == '"' || c == '\'' || c == '\r' || c == '\n';
}

// Days since an arbitrary origin for YYYYMMDD, enough to compare ages.
long DayNumber(int ymd) {
  int y = ymd / 10000, m = ymd / 100 % 100, d = ymd % 100;
  if (m <= 2) {
    y -= 1;
    m += 12;
  }
  return 365L * y + y / 4 - y / 100 + y / 400 + (153 * (m - 3) + 2) / 5 + d;
}

int DateOf(const std::string& name) {
  // veltrane-YYYYMMDD.log
  if (name.size() != 21 || name.compare(0, 9, "veltrane-") != 0 || name.compare(17, 4, ".log") != 0) return 0;
  int v = 0;
  for (size_t i = 9; i < 17; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    v = v * 10 + (name[i] - '0');
  }
  return v;
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
    while (i < text.size() && !EndsValue(text[i])) ++i;
    out += "***";
  }
  return out;
}

std::string FormatLogFileLine(const LogClock& c, uint32_t threadId, const std::string& text) {
  char head[64];
  std::snprintf(head, sizeof head, "%04d-%02d-%02d %02d:%02d:%02d.%03d [%u] ", c.year, c.month, c.day, c.hour,
                c.minute, c.second, c.millisecond, threadId);
  std::string line = head + MaskSecrets(text);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

std::string LogFileName(int year, int month, int day) {
  char name[32];
  std::snprintf(name, sizeof name, "veltrane-%04d%02d%02d.log", year, month, day);
  return name;
}

bool LogQueue::Push(std::string line) {
  std::lock_guard<std::mutex> hold(lock_);
  if (lines_.size() >= maxLines_) {
    ++dropped_;
    return false;
  }
  lines_.push_back(std::move(line));
  return true;
}

std::vector<std::string> LogQueue::TakeAll(uint64_t* dropped) {
  std::lock_guard<std::mutex> hold(lock_);
  std::vector<std::string> out(std::make_move_iterator(lines_.begin()),
                               std::make_move_iterator(lines_.end()));
  lines_.clear();
  if (dropped) *dropped = dropped_;
  dropped_ = 0;
  return out;
}

std::vector<std::string> LogFilesToRemove(const std::vector<LogFileEntry>& files, int today) {
  std::vector<LogFileEntry> ours;
  for (const auto& f : files)
    if (DateOf(f.name) != 0) ours.push_back(f);
  std::sort(ours.begin(), ours.end(),
            [](const LogFileEntry& a, const LogFileEntry& b) { return a.name < b.name; });
  std::vector<std::string> remove;
  uint64_t total = 0;
  for (const auto& f : ours) total += f.size;
  for (const auto& f : ours) {
    int date = DateOf(f.name);
    if (date == today) continue;
    bool tooOld = DayNumber(today) - DayNumber(date) >= kLogKeepDays;
    if (tooOld || total > kLogKeepBytes) {
      remove.push_back(f.name);
      total -= f.size;
    }
  }
  return remove;
}

}  // namespace vt
