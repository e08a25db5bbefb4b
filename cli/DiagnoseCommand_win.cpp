// veltrane-cli diagnose HOST --public-ip A.B.C.D: the fault diagnosis's
// 20-hop trace ("tracert -d -w 800 -h 20 HOST") split at the public
// address's network; every MSG_TROUBLE_RESULT as a JSON line, then the
// figures as the diagnosis reports them (before the window's rescaling
// against the ping):
//   {"hoopsWAN":N,"delayWAN":N,"hoopsLAN":N,"delayLAN":N,"traceHoops":"a|b|",
//    "traceDelay":"1|2|","lancomment":"...","reachedPublic":0|1}
#include <cstdio>
#include <cstring>

#include "base/Messages.h"
#include "model/RouteVerdict.h"
#include "cli/CliCommand.h"
#include "cli/EngineThread_win.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"
#include "engines/command/CommandLine.h"
#include "base/Log.h"
#include "engines/trace/RouteTraceThread_win.h"
#include "engines/trouble/TroubleTraceThread_win.h"

namespace {

int RunDiagnoseCommand(int argc, char** argv) {
  const char* host = nullptr;
  const char* publicIp = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--public-ip") == 0 && i + 1 < argc) publicIp = argv[++i];
    else if (!host && argv[i][0] != '-') host = argv[i];
    else return CliUsage(argv[i]);
  }
  if (!host || !publicIp) return CliUsage(nullptr);
  if (!vt::IsPlainHostText(host)) return CliUsage(host);
  vt::EngineRun run;
  // Never freed: the thread may outlive a time-out, even the end of main.
  static vt::TraceRequest& request = *new vt::TraceRequest;
  request.window = run.window();
  request.publicIp = publicIp;
  request.target = host;

  int32_t figures[6] = {};  // by code: TR_WAN_DELAY .. TR_LAN_HOPS
  auto handler = [&figures](const vt::EngineMessage& m) {
    if (m.message != vt::MSG_TROUBLE_RESULT) return false;
    if (m.wParam >= vt::TR_WAN_DELAY && m.wParam <= vt::TR_LAN_HOPS)
      figures[m.wParam] = static_cast<int32_t>(m.lParam);
    return m.wParam == vt::TR_DONE;
  };
  vt::EngineThreadResult r =
      vt::RunEngineThread(run, vt::TroubleTraceThread, &request, handler, vt::kTraceDeadlineMs + 10000);

  vt::JsonObject summary;
  int exitCode = kCliOk;
  if (r.over) {
    summary.Add("hoopsWAN", static_cast<int64_t>(figures[vt::TR_WAN_HOPS]))
        .Add("delayWAN", static_cast<int64_t>(figures[vt::TR_WAN_DELAY]))
        .Add("hoopsLAN", static_cast<int64_t>(figures[vt::TR_LAN_HOPS]))
        .Add("delayLAN", static_cast<int64_t>(figures[vt::TR_LAN_DELAY]))
        .Add("traceHoops", request.traceHoops.GetData())
        .Add("traceDelay", request.traceDelay.GetData())
        .Add("lancomment", vt::LanAdviceLine(figures[vt::TR_LAN_HOPS]))
        .Add("reachedPublic", static_cast<int64_t>(request.reachedPublic));
  } else {
    summary.Add("error", !r.finished       ? "the diagnosis did not end in time"
                         : r.exitCode == 2 ? "the trace output has no hop section"
                                           : "the diagnosis did not run");
    exitCode = kCliFailed;
  }
  vt::PrintJsonLine(summary.Str());
  return exitCode;
}

const CliCommand kDiagnose = {"diagnose", "HOST --public-ip A.B.C.D", RunDiagnoseCommand};
CliCommandRegistrar g_register(kDiagnose);

}  // namespace
