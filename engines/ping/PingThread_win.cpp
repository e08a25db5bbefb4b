#include "engines/ping/PingThread_win.h"

#include <windows.h>

#include <atomic>

#include "base/Messages.h"
#include "engines/command/CommandLaunch_win.h"
#include "engines/command/CommandLine.h"
#include "engines/ping/PingParser.h"

namespace vt {

namespace {
// The window RunPing reports to; one ping runs at a time.
std::atomic<HWND> g_pingWindow{nullptr};
}  // namespace

unsigned __stdcall PingThread(void* arg) {
  g_pingWindow.store(nullptr);
  auto* request = static_cast<PingRequest*>(arg);
  char commandLine[kCommandLineSize];
  if (!request || !FormatCommandLine(commandLine, "ping %s -n 8", request->host)) return 1;
  g_pingWindow.store(static_cast<HWND>(request->window));
  request->avgDelay = RunPing(commandLine);
  return 0;
}

int32_t RunPing(const char* commandLine) {
  CommandOutput command;
  LaunchResult launched = command.Launch(commandLine, kPingDeadlineMs);
  HWND window = g_pingWindow.load();
  if (launched != kLaunchStarted) {
    // The window still needs an end: without one its page would wait forever.
    if (window) SendMessageA(window, MSG_PING_FAILED, 0, 0);
    return launched;  // -1 or -2
  }

  // Replies are counted whether or not a window listens, so avgDelay holds
  // the mean for a caller without a window too.
  PingOutputParser parser;
  char chunk[256];
  while (DWORD got = command.Read(chunk, sizeof chunk)) {
    for (DWORD i = 0; i < got; ++i) {
      int32_t reply = parser.Feed(chunk[i]);
      if (reply > 0 && window) SendMessageA(window, MSG_PING_REPLY, static_cast<WPARAM>(reply), 0);
    }
  }
  command.Close();
  int32_t mean = parser.Mean();
  if (window) SendMessageA(window, MSG_PING_DONE, static_cast<WPARAM>(mean), 0);
  return mean;
}

}  // namespace vt
