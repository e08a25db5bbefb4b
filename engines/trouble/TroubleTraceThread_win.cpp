#include "engines/trouble/TroubleTraceThread_win.h"

#include <windows.h>

#include "base/Messages.h"
#include "engines/command/CommandLaunch_win.h"
#include "engines/command/CommandLine.h"
#include "base/Log.h"
#include "engines/trace/RouteTraceThread_win.h"
#include "engines/trouble/DiagnosisAnalysis.h"

namespace vt {

unsigned __stdcall TroubleTraceThread(void* arg) {
  auto* request = static_cast<TraceRequest*>(arg);
  if (!request) return 1;
  char commandLine[kCommandLineSize];
  if (FormatCommandLine(commandLine, "tracert -d -w 800 -h 20 %s", request->target)) {
    LogFormat("start %s..\n", commandLine);
    request->output = CaptureOutput(commandLine);
  } else {
    request->output.Empty();  // nothing to run: treated as a command that cannot start
  }

  DiagnosisWalk walk;
  walk.hoopsLAN = request->hoopsLAN;
  walk.hoopsWAN = request->hoopsWAN;
  walk.delayLAN = request->delayLAN;
  walk.delayWAN = request->delayWAN;
  if (!AnalyseTraceOutput(request->output.GetData(), request->output.GetLength(), request->publicIp, walk)) {
    // The page waits for an end: without one its button stayed disabled.
    if (request->window) PostMessageA(static_cast<HWND>(request->window), MSG_TROUBLE_RESULT, TR_FAILED, 0);
    return 2;
  }
  request->hoopsLAN = walk.hoopsLAN;
  request->hoopsWAN = walk.hoopsWAN;
  request->delayLAN = walk.delayLAN;
  request->delayWAN = walk.delayWAN;
  request->reachedPublic = walk.reachedPublic;

  HWND window = static_cast<HWND>(request->window);
  if (window) {
    request->traceHoops = walk.traceHoops;
    request->traceDelay = walk.traceDelay;
    SendMessageA(window, MSG_TROUBLE_RESULT, TR_WAN_DELAY, walk.delayWAN);
    SendMessageA(window, MSG_TROUBLE_RESULT, TR_LAN_DELAY, walk.delayLAN);
    SendMessageA(window, MSG_TROUBLE_RESULT, TR_WAN_HOPS, walk.hoopsWAN);
    SendMessageA(window, MSG_TROUBLE_RESULT, TR_LAN_HOPS, walk.hoopsLAN);
    PostMessageA(window, MSG_TROUBLE_RESULT, TR_DONE, 0);
  }
  return 0;
}

CUIString CaptureOutput(const char* commandLine) {
  CUIString output;
  CommandOutput command;
  if (command.Launch(commandLine, kTraceDeadlineMs) != kLaunchStarted) return output;
  char chunk[1024];
  // CUIString stops growing at its limit; reading goes on to the end so the
  // command is never left blocked on a full pipe.
  while (DWORD got = command.Read(chunk, sizeof chunk)) output.Append(chunk, got);
  return output;
}

}  // namespace vt
