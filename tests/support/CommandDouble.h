// Puts vt-replay (built next to the test executables) under a command's name
// into a fresh folder and makes that folder current, so that CreateProcess
// finds it before the system's own command (the program's folder holds no
// ping.exe or tracert.exe; the current folder comes next). The replayed
// fixture and the options are passed in the environment, which the command
// inherits. Everything is undone by the destructor.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/support/MessageCollector.h"

class CommandDouble {
 public:
  // command: "ping" or "tracert"; fixture: a path under VT_TEST_DATA_DIR.
  CommandDouble(const char* command, const std::string& fixture, DWORD byteDelayMs = 0, DWORD holdMs = 0);
  // Puts another program (a full path) in place of the command.
  struct Program {};
  CommandDouble(Program, const char* command, const std::string& program);
  ~CommandDouble();
  CommandDouble(const CommandDouble&) = delete;
  CommandDouble& operator=(const CommandDouble&) = delete;

  bool ready() const { return ready_; }
  // A fresh path in the temporary folder (nothing is created).
  static std::string TempName(const char* stem);
  const std::string& folder() const { return folder_; }
  // The command line the double was started with ("" if it never ran).
  std::string CommandLineSeen() const;

 private:
  bool Place(const char* command, const std::string& program);
  std::string folder_, exe_, argsFile_;
  char previousFolder_[MAX_PATH] = {};
  bool ready_ = false;
};

// The whole contents of a file into *text; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string* text);

// The folder of the running test executable, with a trailing backslash.
std::string TestExeFolder();
// A file of tests/data (VT_TEST_DATA_DIR is defined for each test executable).
#ifdef VT_TEST_DATA_DIR
inline std::string TestDataPath(const std::string& relative) { return std::string(VT_TEST_DATA_DIR) + "/" + relative; }
#endif

// Runs proc(arg) on a thread of its own while the collector pumps, until the
// thread has ended or timeoutMs passed. Returns the exit code, or -1 on
// time-out (the thread is then left running).
long RunEngineThread(MessageCollector& collector, unsigned(__stdcall* proc)(void*), void* arg, DWORD timeoutMs);
