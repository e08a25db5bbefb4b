// The ping of the console front end, also run by `veltrane-cli bandwidth`
// between its download and upload phases, as the window does.
#pragma once

#include <cstdint>

#include "cli/EngineRun_win.h"

namespace vt {

struct CliPingResult {
  bool ended = false;     // MSG_PING_DONE arrived, or the thread ended without it
  int32_t avgDelay = 0;   // PingRequest.avgDelay: the mean in ms (0 without
                          // replies), -1 no pipe, -2 ping could not start
  unsigned exitCode = 0;  // PingThread's exit code (1: unusable host)
};

// Runs PingThread for host on run's window; every MSG_PING_REPLY and the
// MSG_PING_DONE are printed as JSON lines when printJson. Takes at most the
// ping's own bound (kPingDeadlineMs) and a little more. One ping at a time:
// the request record is static, as the thread may outlive a time-out.
CliPingResult CliRunPing(EngineRun& run, const char* host, bool printJson = true);

}  // namespace vt
