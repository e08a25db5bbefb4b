// The route-quality trace: "tracert -d -w 800 <target>", one message per hop
// as its line arrives, then one at the end.
//
//   MSG_TRACE_HOP  (sent)  wParam the hop's address text (valid during the
//                          call), lParam its delay in ms or -1
//   MSG_TRACE_DONE (sent)  wParam the joined addresses ("a|b|...|"), valid
//                          during the call; not sent when the command could
//                          not be launched
//   MSG_TRACE_FAILED (sent) instead of MSG_TRACE_DONE when the command could
//                          not be launched
#pragma once

#include <windows.h>

#include "engines/trace/TraceRequest.h"

namespace vt {

// Ends a trace command still running after this long (30 hops of three
// probes at 800 ms each take about 72 s).
constexpr unsigned kTraceDeadlineMs = 300000;

// Thread procedure; arg is a TraceRequest. Exit code 1 when the request is
// missing or its target is empty or not a plain host name or address
// (nothing is sent), else 0.
unsigned __stdcall RouteTraceThread(void* arg);

// Runs the command line, reporting to window (nothing is sent when null).
void RunTrace(HWND window, const char* commandLine);

}  // namespace vt
