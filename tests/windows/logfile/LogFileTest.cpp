// The log file's writer under Wine: stamped and masked lines from many
// threads, every line either written or counted as dropped, the day's
// limit, the retention at start and the console's fixed file.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/Log.h"
#include "base/LogFile_win.h"
#include "tests/support/TempFolder.h"

namespace {

// The ids of this process's threads.
std::set<DWORD> ThreadIds() {
  std::set<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
  CloseHandle(snapshot);
  return ids;
}

std::string Folder(const char* name) {
  return wintest::EmptyTempFolder(std::string("veltrane-logfile-") + name);
}

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return lines;
  std::string data;
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
  fclose(f);
  size_t start = 0, end;
  while ((end = data.find("\r\n", start)) != std::string::npos) {
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  if (start < data.size()) lines.push_back(data.substr(start) + "<no line end>");
  return lines;
}

std::string Today() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return vt::LogFileName(t.wYear, t.wMonth, t.wDay);
}

void WriteFile(const std::string& path, size_t size) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_TRUE(f) << path;
  std::string data(size, 'x');
  fwrite(data.data(), 1, data.size(), f);
  fclose(f);
}

// Keeps the log's stream (standard output) quiet while a test logs.
struct QuietStream {
  FILE* none = fopen("NUL", "w");
  QuietStream() { vt::SetLogStream(none); }
  ~QuietStream() {
    vt::SetLogStream(nullptr);
    if (none) fclose(none);
  }
};

TEST(LogFile, StampsMasksAndKeepsEveryThreadsLines) {
  std::string folder = Folder("threads");
  QuietStream quiet;
  vt::LogFileSettings settings;
  settings.folder = folder;
  ASSERT_TRUE(vt::StartLogFile(settings));
  EXPECT_EQ(std::string(vt::LogFilePath()), folder + "\\" + Today());
  const int kThreads = 4, kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLines; ++i) vt::LogFormat("worker %d line %d &User=u&Pass=p%d\r\n", t, i, i);
    });
  for (auto& th : threads) th.join();
  EXPECT_TRUE(vt::FlushLogFile(5000));
  vt::StopLogFile();
  EXPECT_STREQ(vt::LogFilePath(), "");

  std::vector<std::string> lines = Lines(folder + "\\" + Today());
  ASSERT_EQ(lines.size(), static_cast<size_t>(kThreads * kLines));
  std::regex stamped(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[(\d+)\] worker (\d) line (\d+) &User=u&Pass=\*\*\*$)");
  std::set<std::string> threadIds;
  std::vector<int> next(kThreads, 0);
  for (const std::string& line : lines) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(line, m, stamped)) << line;
    threadIds.insert(m[1]);
    int worker = std::stoi(m[2]), number = std::stoi(m[3]);
    EXPECT_EQ(number, next[worker]++) << "each thread's lines in order";
  }
  EXPECT_EQ(threadIds.size(), static_cast<size_t>(kThreads));
}

// However fast lines come, each is written or counted: the writer logs
// how many it lost. The writer is held while the lines come (suspended in
// its idle wait, where it holds no lock), so the queue surely overflows.
TEST(LogFile, AFloodIsCountedNotLost) {
  std::string folder = Folder("flood");
  QuietStream quiet;
  vt::LogFileSettings settings;
  settings.folder = folder;
  settings.queueLines = 8;
  std::set<DWORD> before = ThreadIds();
  ASSERT_TRUE(vt::StartLogFile(settings));
  std::set<DWORD> after = ThreadIds();
  std::vector<DWORD> started;
  for (DWORD id : after)
    if (!before.count(id)) started.push_back(id);
  ASSERT_EQ(started.size(), 1u) << "the writer is the one thread the start adds";
  Sleep(100);  // the writer reaches its wait
  HANDLE writer = OpenThread(THREAD_SUSPEND_RESUME, FALSE, started[0]);
  ASSERT_NE(writer, nullptr);
  ASSERT_NE(SuspendThread(writer), static_cast<DWORD>(-1));
  const int kLines = 20000;
  for (int i = 0; i < kLines; ++i) vt::LogFormat("flood %d\r\n", i);
  ResumeThread(writer);
  CloseHandle(writer);
  EXPECT_TRUE(vt::FlushLogFile(5000));
  vt::StopLogFile();
  std::vector<std::string> lines = Lines(folder + "\\" + Today());
  std::regex dropped(R"(\] log: (\d+) lines dropped, the log writer fell behind$)");
  long written = 0, counted = 0;
  for (const std::string& line : lines) {
    std::smatch m;
    if (std::regex_search(line, m, dropped)) counted += std::stol(m[1]);
    else if (line.find("] flood ") != std::string::npos) ++written;
    else ADD_FAILURE() << line;
  }
  EXPECT_EQ(written, 8) << "the queue's 8 lines, the first ones";
  EXPECT_EQ(counted, kLines - 8);
}

TEST(LogFile, TodaysFileStopsAtItsLimit) {
  std::string folder = Folder("limit");
  QuietStream quiet;
  vt::LogFileSettings settings;
  settings.folder = folder;
  settings.dayFileBytes = 4000;
  ASSERT_TRUE(vt::StartLogFile(settings));
  for (int i = 0; i < 200; ++i) {
    vt::LogFormat("line %03d %s\r\n", i, std::string(60, 'y').c_str());
    if (i % 10 == 0) vt::FlushLogFile(2000);  // in small batches, as a running program writes
  }
  EXPECT_TRUE(vt::FlushLogFile(5000));
  vt::StopLogFile();
  std::vector<std::string> lines = Lines(folder + "\\" + Today());
  ASSERT_GE(lines.size(), 2u);
  EXPECT_NE(lines.back().find("] log: today's file reached its limit of 4000 bytes"), std::string::npos)
      << lines.back();
  size_t size = 0;
  for (size_t i = 0; i + 1 < lines.size(); ++i) size += lines[i].size() + 2;
  EXPECT_LE(size, 4000u);
  EXPECT_GT(size, 3000u);
}

TEST(LogFile, StartRemovesWhatTheRetentionRuleNames) {
  std::string folder = Folder("retention");
  SYSTEMTIME t;
  GetLocalTime(&t);
  // Ten days back, by the calendar.
  FILETIME ft;
  SystemTimeToFileTime(&t, &ft);
  ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
  v.QuadPart -= 10ull * 24 * 3600 * 10000000;
  ft = {v.LowPart, v.HighPart};
  SYSTEMTIME old;
  FileTimeToSystemTime(&ft, &old);
  std::string oldLog = vt::LogFileName(old.wYear, old.wMonth, old.wDay);
  WriteFile(folder + "\\" + oldLog, 10);
  WriteFile(folder + "\\notes.txt", 10);
  for (int i = 0; i < 12; ++i) {
    char name[64];
    snprintf(name, sizeof name, "crash-2026%02d01-000000-1", i + 1);
    WriteFile(folder + "\\" + name + ".txt", 10);
    WriteFile(folder + "\\" + name + ".dmp", 10);
  }
  vt::LogFileSettings settings;
  settings.folder = folder;
  ASSERT_TRUE(vt::StartLogFile(settings));
  vt::StopLogFile();
  std::set<std::string> names = Names(folder);
  EXPECT_FALSE(names.count(oldLog));
  EXPECT_TRUE(names.count("notes.txt"));
  EXPECT_TRUE(names.count(Today()));
  EXPECT_FALSE(names.count("crash-20260101-000000-1.txt"));
  EXPECT_FALSE(names.count("crash-20260201-000000-1.dmp"));
  EXPECT_TRUE(names.count("crash-20260301-000000-1.txt"));
  EXPECT_TRUE(names.count("crash-20261201-000000-1.dmp"));
  EXPECT_EQ(names.size(), 2u + 2u * 10u);
}

TEST(LogFile, TheConsolesFileIsAppendedTo) {
  std::string folder = Folder("fixed");
  std::string path = folder + "\\console.log";
  QuietStream quiet;
  for (int run = 0; run < 2; ++run) {
    vt::LogFileSettings settings;
    settings.path = path;
    ASSERT_TRUE(vt::StartLogFile(settings));
    EXPECT_EQ(std::string(vt::LogFilePath()), path);
    vt::LogToFileOnly("run " + std::to_string(run));
    vt::LogLine("recv err");
    vt::StopLogFile();
  }
  std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("] run 0"), std::string::npos);
  EXPECT_NE(lines[3].find("] recv err"), std::string::npos);
  EXPECT_EQ(Names(folder), std::set<std::string>{"console.log"});
  // Not a file that can be opened: refused, nothing started.
  vt::LogFileSettings bad;
  bad.path = folder;
  EXPECT_FALSE(vt::StartLogFile(bad));
  EXPECT_FALSE(vt::FlushLogFile(10));
}

TEST(LogFile, TheLocalDataFolderIsMadeWhenMissing) {
  std::string folder = vt::LocalDataFolder("logs");
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.substr(folder.size() - 14), "\\Veltrane\\logs");
  DWORD attributes = GetFileAttributesA(folder.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

}  // namespace
