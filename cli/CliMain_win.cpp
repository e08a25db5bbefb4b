// Entry point of veltrane-cli.exe, the console front end: the engines of the
// window, their messages printed as JSON lines (cli/CliCommand.h).
#include <cstdio>

#include "cli/CliCommand.h"
#include "base/Log.h"
#include "net/http/HttpLog.h"

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // Standard output carries JSON lines only; the engines' diagnostic lines
  // ("connnect failed", "recv err", ...) go to standard error.
  vt::SetLogStream(stderr);
  if (argc < 2) return CliUsage(nullptr);
  const CliCommand* command = FindCliCommand(argv[1]);
  if (!command) return CliUsage(argv[1]);
  return command->run(argc - 1, argv + 1);
}
