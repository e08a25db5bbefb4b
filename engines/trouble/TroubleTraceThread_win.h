// The diagnosis trace: "tracert -d -w 800 -h 20 <target>", captured whole,
// then split into the customer's side (LAN) and the wide-area side (WAN)
// (engines/trouble/DiagnosisAnalysis.h). Messages, all MSG_TROUBLE_RESULT:
//
//   TR_WAN_DELAY, TR_LAN_DELAY, TR_WAN_HOPS, TR_LAN_HOPS (sent, in this order)
//   TR_DONE (posted) after traceHoops and traceDelay have been written
//
// Nothing is sent when the output has no hop section, including when the
// command could not be launched.
#pragma once

#include "engines/trace/TraceRequest.h"
#include "base/UIString.h"

namespace vt {

// Thread procedure; arg is a TraceRequest. Exit code 1 when the request is
// missing, 2 when the output has no hop section (an empty target, or one
// that is not a plain host name or address, runs nothing and ends here),
// else 0.
unsigned __stdcall TroubleTraceThread(void* arg);

// The whole output of the command line; empty when it cannot be launched.
CUIString CaptureOutput(const char* commandLine);

}  // namespace vt
