// Entry point of veltrane-cli.exe, the console front end: the same engines as
// the window, their messages printed as JSON lines. Commands are added as
// their engines land.
#include <cstdio>
#include <cstring>

#include "app/Version.h"

namespace {

int Usage(const char* bad) {
  if (bad) fprintf(stderr, "veltrane-cli: unknown command or argument '%s'\n", bad);
  fprintf(stderr, "usage: veltrane-cli version\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(nullptr);
  if (strcmp(argv[1], "version") == 0 && argc == 2) {
    printf("{\"own_version\":\"%s\"}\n", VELTRANE_VERSION_TEXT);
    return 0;
  }
  return Usage(argv[1]);
}
