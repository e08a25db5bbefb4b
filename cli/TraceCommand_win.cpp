// veltrane-cli trace HOST: "tracert -d -w 800 HOST" as the route page runs
// it; every hop and the end as JSON lines, then the hops and the verdict the
// page would show:
//   {"hops":[{"address":"...","delay":N},...],"slowHops":"a,","mediumHops":"b,",
//    "line1":"...","line2":"...","TraceTestStatus":"<f 4>...</f>"}
#include <cstdio>
#include <string>

#include "base/Messages.h"
#include "model/RouteVerdict.h"
#include "cli/CliCommand.h"
#include "cli/EngineThread_win.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"
#include "engines/command/CommandLine.h"
#include "base/Log.h"
#include "engines/trace/RouteTraceThread_win.h"

namespace {

int RunTraceCommand(int argc, char** argv) {
  if (argc != 2) return CliUsage(argc > 2 ? argv[2] : nullptr);
  if (!vt::IsPlainHostText(argv[1])) return CliUsage(argv[1]);
  vt::EngineRun run;
  // Never freed: the thread may outlive a time-out, even the end of main.
  static vt::TraceRequest& request = *new vt::TraceRequest;
  request.window = run.window();
  request.target = argv[1];

  std::string hops;
  CUIString slowHops, mediumHops;
  auto handler = [&](const vt::EngineMessage& m) {
    if (m.message == vt::MSG_TRACE_HOP) {
      const char* address = m.text ? m.text : "";
      int32_t delay = static_cast<int32_t>(m.lParam);
      hops += hops.empty() ? "[" : ",";
      hops += vt::JsonObject().Add("address", address).Add("delay", static_cast<int64_t>(delay)).Str();
      vt::NoteTraceHop(slowHops, mediumHops, address, delay);
    }
    return m.message == vt::MSG_TRACE_DONE;
  };
  auto textOf = [](UINT message, WPARAM) {
    return message == vt::MSG_TRACE_HOP || message == vt::MSG_TRACE_DONE ? 1 : 0;
  };
  vt::EngineThreadResult r = vt::RunEngineThread(run, vt::RouteTraceThread, &request, handler,
                                                 vt::kTraceDeadlineMs + 10000, true, textOf);

  vt::JsonObject summary;
  summary.AddRaw("hops", hops.empty() ? "[]" : hops + "]");
  summary.Add("slowHops", slowHops.GetData()).Add("mediumHops", mediumHops.GetData());
  summary.Add("line1", vt::SlowHopsLine(slowHops).GetData())
      .Add("line2", vt::MediumHopsLine(mediumHops).GetData());
  summary.Add("TraceTestStatus", vt::TraceVerdictText(slowHops, mediumHops, r.over).GetData());
  int exitCode = kCliOk;
  if (!r.over) {
    summary.Add("error", r.finished ? "tracert could not be started" : "the trace did not end in time");
    exitCode = kCliFailed;
  }
  vt::PrintJsonLine(summary.Str());
  return exitCode;
}

const CliCommand kTrace = {"trace", "HOST", RunTraceCommand};
CliCommandRegistrar g_register(kTrace);

}  // namespace
