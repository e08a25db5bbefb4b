// veltrane-cli version: the program's own version.
#include <cstdio>

#include "app/Version.h"
#include "cli/CliCommand.h"

namespace {

int RunVersion(int argc, char** argv) {
  if (argc > 1) return CliUsage(argv[1]);
  printf("{\"own_version\":\"%s\"}\n", VELTRANE_VERSION_TEXT);
  return kCliOk;
}

const CliCommand kVersion = {"version", "", RunVersion};
CliCommandRegistrar g_register(kVersion);

}  // namespace
