// veltrane-cli quality HOST --seconds N
//
// The background prober alone: echo probes to HOST, 25 a second with a 1 s
// time-out, for N seconds, all of them idle; prints the line_quality object.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/CliCommand.h"
#include "cli/JsonOutput_win.h"
#include "cli/LineProbe_win.h"

namespace {

const long kMaxSeconds = 7200;  // the prober's log holds two hours

int RunQuality(int argc, char** argv) {
  const char* host = nullptr;
  long seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--seconds") == 0) {
      if (i + 1 >= argc) return CliUsage(argv[i]);
      char* end = nullptr;
      seconds = strtol(argv[i + 1], &end, 10);
      if (*end || seconds < 1 || seconds > kMaxSeconds) return CliUsage(argv[i + 1]);
      ++i;
    } else if (!host && argv[i][0] != '-') {
      host = argv[i];
    } else {
      return CliUsage(argv[i]);
    }
  }
  if (!host) return CliUsage("HOST");
  if (!seconds) return CliUsage("--seconds");
  fprintf(stderr, "veltrane-cli: probing %s for %ld s\n", host, seconds);
  vt::LineProbe probe;
  if (!probe.Begin(true, host, static_cast<unsigned>(seconds * 1000))) {
    fprintf(stderr, "veltrane-cli: no IPv4 address for %s, or no thread\n", host);
    return kCliUnreachable;
  }
  std::string figures = probe.End();
  vt::PrintJsonLine(figures);
  return kCliOk;
}

const CliCommand kQuality = {"quality", "HOST --seconds N", RunQuality};
CliCommandRegistrar g_register(kQuality);

}  // namespace
