// The ping runner: "ping <host> -n 8" against the platform server, every
// reply time sent to the window as it is read, then the mean.
//
//   MSG_PING_REPLY (sent)  wParam reply time in ms (1 or more)
//   MSG_PING_DONE  (sent)  wParam mean of the reply times, 0 when no reply
//                          carried a time; not sent when the command could
//                          not be launched
//   MSG_PING_FAILED (sent) instead of MSG_PING_DONE when the command could
//                          not be launched
#pragma once

#include <cstdint>

#include "engines/ping/PingRequest.h"

namespace vt {

// Ends a ping command still running after this long (eight requests of at
// most 4 s each and name resolution fit well within it).
constexpr unsigned kPingDeadlineMs = 120000;

// Thread procedure; arg is a PingRequest. Exit code 1 when the request is
// missing or its host is empty or not a plain host name or address (nothing
// is sent), else 0 with avgDelay written.
unsigned __stdcall PingThread(void* arg);

// Runs the command line and reports to the ping window that PingThread set.
// Returns the mean reply time (0 without replies), -1 when the pipe could not
// be created, -2 when the command could not be started.
int32_t RunPing(const char* commandLine);

}  // namespace vt
