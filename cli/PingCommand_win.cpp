// veltrane-cli ping HOST: "ping HOST -n 8" as the bandwidth test runs it,
// every reply and the mean as JSON lines, then {"speed_rtt":mean}.
#include <cstdio>

#include "cli/CliCommand.h"
#include "cli/JsonLine.h"
#include "cli/PingRun_win.h"
#include "cli/JsonOutput_win.h"
#include "engines/command/CommandLine.h"
#include "base/Log.h"

namespace {

int RunPingCommand(int argc, char** argv) {
  if (argc != 2) return CliUsage(argc > 2 ? argv[2] : nullptr);
  if (!vt::IsPlainHostText(argv[1])) return CliUsage(argv[1]);
  vt::EngineRun run;
  vt::CliPingResult ping = vt::CliRunPing(run, argv[1]);
  vt::JsonObject summary;
  summary.Add("speed_rtt", static_cast<int64_t>(ping.avgDelay));
  int exitCode = kCliOk;
  if (!ping.ended) {
    summary.Add("error", "ping did not end in time");
    exitCode = kCliFailed;
  } else if (ping.avgDelay < 0) {
    summary.Add("error", ping.avgDelay == -1 ? "no pipe for the ping command"
                                             : "the ping command could not be started");
    exitCode = kCliFailed;
  }
  vt::PrintJsonLine(summary.Str());
  return exitCode;
}

const CliCommand kPing = {"ping", "HOST", RunPingCommand};
CliCommandRegistrar g_register(kPing);

}  // namespace
