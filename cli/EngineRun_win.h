// Runs an engine thread from the console the way the main window does: the
// engine reports to a message-only window on this thread, every message it
// posts or sends is printed as a JSON line, and the caller decides from each
// message whether the run is over.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace vt {

struct EngineMessage {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  const char* text;  // a text the message points to (copied by the printer), or nullptr
};

class EngineRun {
 public:
  // Returns true when the message ends the run.
  using Handler = std::function<bool(const EngineMessage&)>;
  // Which messages carry a text, and where: 0 none, 1 wParam, 2 lParam.
  using TextOf = std::function<int(UINT message, WPARAM wParam)>;

  EngineRun();
  ~EngineRun();
  EngineRun(const EngineRun&) = delete;
  EngineRun& operator=(const EngineRun&) = delete;

  HWND window() const { return hwnd_; }
  // Pumps messages, printing each as a JSON line on standard output (when
  // printJson) and handing it to handler, until handler returns true or
  // timeoutMs passes without the run ending. Returns false on time-out.
  bool Pump(const Handler& handler, DWORD timeoutMs, bool printJson = true, const TextOf& textOf = nullptr);
  // Starts a thread running proc(arg). Without keep the handle is closed at
  // once (the engines are never joined by the window either); with keep the
  // caller gets it and closes it.
  static bool StartThread(unsigned(__stdcall* proc)(void*), void* arg, HANDLE* keep = nullptr);
  // Runs proc(arg) on a thread and waits for it at most waitMs, as the
  // start-up waits for its platform threads; false when it could not start
  // or did not end in time (it then goes on, its result unused). exitCode
  // gets the thread's exit code when it ended.
  static bool RunThreadAndWait(unsigned(__stdcall* proc)(void*), void* arg, DWORD waitMs, unsigned* exitCode);

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
  const Handler* handler_ = nullptr;
  const TextOf* textOf_ = nullptr;
  bool printJson_ = true;
  bool done_ = false;
};

}  // namespace vt
