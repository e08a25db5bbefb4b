#include "engines/trace/RouteTraceThread_win.h"

#include "base/Messages.h"
#include "engines/command/CommandLaunch_win.h"
#include "engines/command/CommandLine.h"
#include "engines/trace/TraceOutputReader.h"

namespace vt {

unsigned __stdcall RouteTraceThread(void* arg) {
  auto* request = static_cast<TraceRequest*>(arg);
  char commandLine[kCommandLineSize];
  if (!request || !FormatCommandLine(commandLine, "tracert -d -w 800 %s", request->target)) return 1;
  RunTrace(static_cast<HWND>(request->window), commandLine);
  return 0;
}

void RunTrace(HWND window, const char* commandLine) {
  CommandOutput command;
  if (command.Launch(commandLine, kTraceDeadlineMs) != kLaunchStarted) {
    // The window still needs an end: without one its page would wait forever.
    if (window) SendMessageA(window, MSG_TRACE_FAILED, 0, 0);
    return;
  }

  TraceOutputReader reader;
  char chunk[256];
  while (DWORD got = command.Read(chunk, sizeof chunk)) {
    for (DWORD i = 0; i < got; ++i) {
      if (!reader.Feed(chunk[i]) || !window) continue;
      // The address lives in this thread; the window copies it while it
      // handles the sent message.
      HopRecord hop = reader.hop();
      SendMessageA(window, MSG_TRACE_HOP, reinterpret_cast<WPARAM>(hop.address),
                   static_cast<LPARAM>(hop.delay));
    }
  }
  command.Close();
  if (window) SendMessageA(window, MSG_TRACE_DONE, reinterpret_cast<WPARAM>(reader.joined().GetData()), 0);
}

}  // namespace vt
