// Entry point of veltrane-cli.exe, the console front end: the engines of the
// window, their messages printed as JSON lines (cli/CliCommand.h).
#include <cstdio>
#include <cstring>

#include "cli/CliCommand.h"
#include "engines/command/DiagnosticLine.h"
#include "net/http/HttpLog.h"

namespace {

const int kMaxCommands = 32;
const CliCommand* g_commands[kMaxCommands];
int g_commandCount = 0;

}  // namespace

CliCommandRegistrar::CliCommandRegistrar(const CliCommand& command) {
  if (g_commandCount < kMaxCommands) g_commands[g_commandCount++] = &command;
}

const CliCommand* FindCliCommand(const char* name) {
  for (int i = 0; i < g_commandCount; ++i)
    if (strcmp(g_commands[i]->name, name) == 0) return g_commands[i];
  return nullptr;
}

int CliUsage(const char* badArgument) {
  if (badArgument) fprintf(stderr, "veltrane-cli: bad argument '%s'\n", badArgument);
  fprintf(stderr, "usage:\n");
  for (int i = 0; i < g_commandCount; ++i)
    fprintf(stderr, "  veltrane-cli %s %s\n", g_commands[i]->name, g_commands[i]->usage);
  return kCliBadArguments;
}

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // Standard output carries JSON lines only; the engines' diagnostic lines
  // ("connnect failed", "recv err", ...) go to standard error.
  vt::SetLogStream(stderr);
  vt::SetDiagnosticStream(stderr);
  if (argc < 2) return CliUsage(nullptr);
  const CliCommand* command = FindCliCommand(argv[1]);
  if (!command) return CliUsage(argv[1]);
  return command->run(argc - 1, argv + 1);
}
