#include "engines/command/CommandLaunch_win.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace vt {

namespace {
std::mutex g_launchLock;  // see b) in the header
std::atomic<DWORD> g_deadlineCap{0};
}  // namespace

void CapCommandDeadlines(DWORD ms) { g_deadlineCap.store(ms, std::memory_order_relaxed); }

VOID CALLBACK CommandOutput::Expire(PVOID process, BOOLEAN) {
  TerminateProcess(static_cast<HANDLE>(process), 1);
}

LaunchResult CommandOutput::Launch(const char* commandLine, DWORD deadlineMs) {
  Close();
  std::lock_guard<std::mutex> lock(g_launchLock);

  SECURITY_ATTRIBUTES sa = {};
  sa.nLength = sizeof sa;
  sa.lpSecurityDescriptor = nullptr;
  sa.bInheritHandle = TRUE;
  HANDLE read = nullptr, write = nullptr;
  if (!CreatePipe(&read, &write, &sa, 0)) return kLaunchNoPipe;
  // The command needs only the write end; an inherited read end would be
  // one more handle the command holds for nothing.
  SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA si;
  memset(&si, 0, sizeof si);
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  si.hStdOutput = write;
  si.hStdError = write;
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;

  // CreateProcessA may write into the command line.
  std::vector<char> line(commandLine, commandLine + strlen(commandLine) + 1);
  PROCESS_INFORMATION pi = {};
  BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(write);
  if (!started) {
    CloseHandle(read);
    return kLaunchNotStarted;
  }
  CloseHandle(pi.hThread);
  read_ = read;
  process_ = pi.hProcess;
  DWORD cap = g_deadlineCap.load(std::memory_order_relaxed);
  if (cap && cap < deadlineMs) deadlineMs = cap;
  if (!CreateTimerQueueTimer(&watchdog_, nullptr, Expire, process_, deadlineMs, 0, WT_EXECUTEONLYONCE))
    watchdog_ = nullptr;  // without a watchdog the read lasts as long as the command
  return kLaunchStarted;
}

DWORD CommandOutput::Read(char* buffer, DWORD size) {
  if (!read_ || size == 0) return 0;
  DWORD got = 0;
  // A zero-byte write by the command arrives as a successful empty read;
  // only a failed read ends the output.
  while (ReadFile(read_, buffer, size, &got, nullptr))
    if (got) return got;
  return 0;
}

void CommandOutput::Close() {
  if (read_) CloseHandle(read_);
  read_ = nullptr;
  // INVALID_HANDLE_VALUE: wait for a callback that is running right now, so
  // the process handle it uses is still open.
  if (watchdog_) DeleteTimerQueueTimer(nullptr, watchdog_, INVALID_HANDLE_VALUE);
  watchdog_ = nullptr;
  if (process_) CloseHandle(process_);
  process_ = nullptr;
}

}  // namespace vt
