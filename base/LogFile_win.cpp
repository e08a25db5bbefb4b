#include "base/LogFile_win.h"

#include <process.h>
#include <shlobj.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/Log.h"

namespace vt {

namespace {

struct Writer {
  LogFileSettings settings;
  LogQueue queue;
  HANDLE wake = nullptr;
  HANDLE thread = nullptr;
  HANDLE file = INVALID_HANDLE_VALUE;
  int fileDate = 0;        // YYYYMMDD of the open daily file
  uint64_t fileBytes = 0;  // its size
  bool full = false;       // today's file reached its limit
  std::atomic<bool> stopping{false};
  // Lines queued, and of those the ones the writer has written: a flush
  // waits for the second to reach the first without any lock.
  std::atomic<uint64_t> pushed{0};
  std::atomic<uint64_t> written{0};

  explicit Writer(const LogFileSettings& s) : settings(s), queue(s.queueLines, s.queueBytes) {}
};

// Never freed: a thread may still log while the process ends.
std::atomic<Writer*> g_writer{nullptr};
char g_path[MAX_PATH * 2];

LogClock Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

int Today() {
  LogClock c = Now();
  return c.year * 10000 + c.month * 100 + c.day;
}

HANDLE OpenForAppend(const char* path) {
  return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void SetPath(const std::string& path) {
  size_t n = path.size() < sizeof g_path - 1 ? path.size() : 0;  // a path too long to keep is not shown
  memcpy(g_path, path.data(), n);
  g_path[n] = '\0';
}

void RemoveOldFiles(const std::string& folder, int today) {
  std::vector<LogFileEntry> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    files.push_back({found.cFileName, (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& name : LogFilesToRemove(files, today)) DeleteFileA((folder + "\\" + name).c_str());
}

// Opens the file the next lines go to: settings.path, or the daily file of
// today (after removing old ones). True when one is open.
bool OpenFile(Writer* w) {
  if (!w->settings.path.empty()) {
    if (w->file == INVALID_HANDLE_VALUE) {
      w->file = OpenForAppend(w->settings.path.c_str());
      if (w->file != INVALID_HANDLE_VALUE) SetPath(w->settings.path);
    }
    return w->file != INVALID_HANDLE_VALUE;
  }
  int today = Today();
  if (w->file != INVALID_HANDLE_VALUE && w->fileDate == today) return true;
  if (w->file != INVALID_HANDLE_VALUE) CloseHandle(w->file);
  RemoveOldFiles(w->settings.folder, today);
  std::string path = w->settings.folder + "\\" + LogFileName(today / 10000, today / 100 % 100, today % 100);
  w->file = OpenForAppend(path.c_str());
  w->fileDate = today;
  w->full = false;
  w->fileBytes = 0;
  LARGE_INTEGER size;
  if (w->file != INVALID_HANDLE_VALUE && GetFileSizeEx(w->file, &size)) w->fileBytes = size.QuadPart;
  SetPath(w->file != INVALID_HANDLE_VALUE ? path : std::string());
  return w->file != INVALID_HANDLE_VALUE;
}

void WriteText(Writer* w, const std::string& text) {
  if (text.empty() || !OpenFile(w)) return;
  std::string out = text;
  if (w->settings.path.empty()) {
    if (w->full) return;
    if (w->fileBytes + out.size() > w->settings.dayFileBytes) {
      // One last line says why the file ends here.
      w->full = true;
      out = FormatLogRecord(Now(), GetCurrentThreadId(),
                            "log: today's file reached its limit of " + std::to_string(w->settings.dayFileBytes) +
                                " bytes; the lines of the rest of the day are not written");
    }
  }
  DWORD done = 0;
  // Bounded by the queue's byte limit, far below what one call can write.
  if (WriteFile(w->file, out.data(), static_cast<DWORD>(out.size()), &done, nullptr)) w->fileBytes += done;
}

void WriteWaiting(Writer* w) {
  uint64_t pushed = w->pushed.load();
  uint64_t dropped = 0;
  std::vector<std::string> lines = w->queue.TakeAll(&dropped);
  std::string batch;
  for (const std::string& line : lines) batch += line;
  if (dropped) batch += FormatLogRecord(Now(), GetCurrentThreadId(), DroppedLinesText(dropped));
  WriteText(w, batch);
  w->written.store(pushed);
}

unsigned __stdcall WriterThread(void* arg) {
  Writer* w = static_cast<Writer*>(arg);
  while (!w->stopping.load()) {
    // The wait's bound only lets a day's change open the next file without
    // a line to trigger it; lines wake the writer at once.
    WaitForSingleObject(w->wake, 1000);
    WriteWaiting(w);
  }
  WriteWaiting(w);
  return 0;
}

void Sink(const char* text, size_t size) {
  Writer* w = g_writer.load();
  if (!w) return;
  std::string record = FormatLogRecord(Now(), GetCurrentThreadId(), std::string(text, size));
  if (record.empty()) return;
  if (w->queue.Push(std::move(record))) w->pushed.fetch_add(1);
  SetEvent(w->wake);
}

void StopAtExit() { StopLogFile(); }

}  // namespace

bool StartLogFile(const LogFileSettings& settings) {
  if (g_writer.load()) return false;
  auto w = std::make_unique<Writer>(settings);
  if (!OpenFile(w.get())) return false;
  w->wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (!w->wake) return false;
  uintptr_t thread = _beginthreadex(nullptr, 0, WriterThread, w.get(), 0, nullptr);
  if (!thread) {
    CloseHandle(w->wake);
    CloseHandle(w->file);
    return false;
  }
  w->thread = reinterpret_cast<HANDLE>(thread);
  g_writer.store(w.release());
  SetLogSink(Sink);
  static bool registered = false;
  if (!registered) registered = atexit(StopAtExit) == 0;
  return true;
}

bool FlushLogFile(DWORD waitMs) {
  Writer* w = g_writer.load();
  if (!w) return false;
  uint64_t target = w->pushed.load();
  SetEvent(w->wake);
  DWORD start = GetTickCount();
  while (w->written.load() < target) {
    if (GetTickCount() - start >= waitMs) return false;
    Sleep(5);
  }
  return true;
}

void StopLogFile() {
  Writer* w = g_writer.load();
  if (!w) return;
  SetLogSink(nullptr);
  FlushLogFile(2000);
  w->stopping.store(true);
  SetEvent(w->wake);
  // A writer stuck in the disk for longer is left behind with its writer
  // record (never freed), as a thread that outlives its wait always is.
  if (WaitForSingleObject(w->thread, 2000) == WAIT_OBJECT_0) {
    CloseHandle(w->thread);
    if (w->file != INVALID_HANDLE_VALUE) CloseHandle(w->file);
    w->file = INVALID_HANDLE_VALUE;
  }
  g_writer.store(nullptr);
  g_path[0] = '\0';
}

void LogToFileOnly(const std::string& text) { Sink(text.data(), text.size()); }

const char* LogFilePath() { return g_path; }

std::string LocalDataFolder(const char* sub) {
  char base[MAX_PATH];
  if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base) != S_OK)
    return std::string();
  std::string folder = std::string(base) + "\\Veltrane";
  CreateDirectoryA(folder.c_str(), nullptr);
  if (sub && *sub) {
    folder += "\\";
    folder += sub;
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::string();
  return folder;
}

}  // namespace vt
