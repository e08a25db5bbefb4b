#include "cli/PingRun_win.h"

#include "base/Messages.h"
#include "cli/EngineThread_win.h"
#include "engines/ping/PingThread_win.h"

namespace vt {

CliPingResult CliRunPing(EngineRun& run, const char* host, bool printJson) {
  // Never freed: the thread may outlive a time-out, even the end of main.
  static PingRequest& request = *new PingRequest;
  request.window = run.window();
  request.host = host;
  request.avgDelay = 0;
  int32_t mean = 0;
  auto handler = [&mean](const EngineMessage& m) {
    if (m.message != MSG_PING_DONE) return false;
    mean = static_cast<int32_t>(m.wParam);
    return true;
  };
  EngineThreadResult r =
      RunEngineThread(run, PingThread, &request, handler, kPingDeadlineMs + 10000, printJson);
  CliPingResult result;
  result.ended = r.over || r.finished;
  result.exitCode = r.exitCode;
  // PingThread stores avgDelay only after MSG_PING_DONE has been handled
  // (the same value); without that message it holds the launch failure.
  result.avgDelay = r.over ? mean : r.finished ? request.avgDelay : 0;
  return result;
}

}  // namespace vt
