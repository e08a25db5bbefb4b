// Runs a console command (ping, tracert) hidden, with its standard output and
// error redirected into a pipe that this process reads.
//
// Constraints:
//  a) The command is found the way CreateProcess finds it: the program's own
//     folder, the current folder, the system folder, the Windows folder, PATH.
//  b) Only the pipe's write end is inherited. Launches are serialised from
//     CreatePipe to closing the write end, so a command started by another
//     thread at the same moment cannot inherit this pipe and keep it open.
//  c) Reading ends when the command has ended and closed its copy of the
//     write end. The command is never waited for; a watchdog ends it if it is
//     still running after the deadline, which bounds every read.
//  d) Every handle (pipe ends, process, thread, watchdog) is closed on every
//     path, at the latest by the destructor.
#pragma once

#include <windows.h>

namespace vt {

enum LaunchResult {
  kLaunchStarted = 0,
  kLaunchNoPipe = -1,      // CreatePipe failed
  kLaunchNotStarted = -2,  // CreateProcess failed
};

// For tests of a command that hangs: every later Launch uses at most ms as
// its deadline (0, the default, leaves the callers' deadlines as they are),
// so the watchdog's work is seen in seconds instead of minutes.
void CapCommandDeadlines(DWORD ms);

class CommandOutput {
 public:
  CommandOutput() = default;
  ~CommandOutput() { Close(); }
  CommandOutput(const CommandOutput&) = delete;
  CommandOutput& operator=(const CommandOutput&) = delete;

  // Starts commandLine; a command still running deadlineMs later is ended.
  LaunchResult Launch(const char* commandLine, DWORD deadlineMs);
  // Reads what the command has written, up to size bytes, waiting for it.
  // Returns 0 once the output has ended (or nothing was launched).
  DWORD Read(char* buffer, DWORD size);
  // Closes the read end and the command's handles (the command itself is
  // left to finish, unless the watchdog already ended it).
  void Close();

 private:
  static VOID CALLBACK Expire(PVOID process, BOOLEAN timerFired);
  HANDLE read_ = nullptr;
  HANDLE process_ = nullptr;
  HANDLE watchdog_ = nullptr;
};

}  // namespace vt
