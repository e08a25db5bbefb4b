// The table of veltrane-cli's commands: each command's file registers itself
// here; the entry point (CliMain_win.cpp) and the long-run driver
// (bench/longrun_certify) look commands up by name.
#include <cstdio>
#include <cstring>

#include "cli/CliCommand.h"

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

