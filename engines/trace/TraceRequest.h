// The request the main window hands to both route-trace threads: the route
// page's RouteTraceThread and the diagnosis's TroubleTraceThread. The window
// writes it only before starting the thread; the thread writes its results
// before the message that makes the window read them.
#pragma once

#include <cstdint>

#include "base/UIString.h"

namespace vt {

struct TraceRequest {
  void* window = nullptr;  // HWND that receives the messages
  CUIString publicIp;      // the line's public address as the platform saw it (diagnosis)
  CUIString target;        // the address to trace to (the platform server, no port)
  int32_t hoopsLAN = 0;
  int32_t hoopsWAN = 0;
  int32_t delayLAN = 0;
  int32_t delayWAN = 0;
  CUIString traceHoops;  // hop addresses, each followed by "|"
  CUIString traceDelay;  // hop delays in decimal, each followed by "|"
  int32_t reachedPublic = 0;
  CUIString output;  // the whole output of the trace command
};

}  // namespace vt
