// The table of veltrane-cli's commands: each command's file registers itself
// here; the entry point (CliMain_win.cpp) and the long-run driver
// (bench/longrun_certify) look commands up by name.
#include <cstdio>
#include <cstdlib>
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

int ParseLineOption(const char* opt, const char* value, int* mode, int* level) {
  static const char* const kModes[] = {"1", "2"};
  static const char* const kLevels[] = {"4", "8", "12", "16"};
  const char* const* values;
  int count;
  int* target;
  if (strcmp(opt, "--mode") == 0) {
    values = kModes, count = 2, target = mode;
  } else if (strcmp(opt, "--level") == 0) {
    values = kLevels, count = 4, target = level;
  } else {
    return -1;
  }
  for (int i = 0; value && i < count; ++i) {
    if (strcmp(value, values[i]) == 0) {
      *target = atoi(value);
      return 1;
    }
  }
  return 0;
}

int CliUsage(const char* badArgument) {
  if (badArgument) fprintf(stderr, "veltrane-cli: bad argument '%s'\n", badArgument);
  fprintf(stderr, "usage: veltrane-cli [--config FILE] [--log FILE] COMMAND ...\n");
  for (int i = 0; i < g_commandCount; ++i)
    fprintf(stderr, "  veltrane-cli %s %s\n", g_commands[i]->name, g_commands[i]->usage);
  return kCliBadArguments;
}
