// Entry point of veltrane-cli.exe, the console front end: the engines of the
// window, their messages printed as JSON lines (cli/CliCommand.h).
//
//   veltrane-cli [--config FILE] [--log FILE] COMMAND [ARGUMENTS]
//
// --config comes before the command, so it can never be taken for one of a
// command's own arguments; without it the servers come from veltrane.ini
// beside the executable, or are the compiled-in production set.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/CliCommand.h"
#include "base/Log.h"
#include "base/LogFile_win.h"
#include "base/ProgramStart_win.h"
#include "config/ServerSetFile_win.h"
#include "net/http/HttpLog.h"

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  // Standard output carries JSON lines only; the engines' diagnostic lines
  // ("connnect failed", "recv err", ...) go to standard error.
  vt::SetLogStream(stderr);
  const char* configPath = nullptr;
  const char* logPath = nullptr;
  while (argc >= 2 && (strcmp(argv[1], "--config") == 0 || strcmp(argv[1], "--log") == 0)) {
    if (argc < 3) return CliUsage(argv[1]);
    (strcmp(argv[1], "--config") == 0 ? configPath : logPath) = argv[2];
    argc -= 2;
    argv += 2;
  }
  // --log FILE: the diagnostic lines go to standard error and, appended,
  // stamped and masked (base/LogFile_win.h), to FILE as well; the file
  // starts with the program's start-up line. Flushed at exit.
  if (logPath) {
    vt::LogFileSettings settings;
    settings.path = logPath;
    if (!vt::StartLogFile(settings)) {
      fprintf(stderr, "veltrane-cli: cannot open log file %s\n", logPath);
      return kCliBadArguments;
    }
    vt::LogToFileOnly(vt::ProgramStartLine("veltrane-cli"));
  }
  if (argc < 2) return CliUsage(nullptr);
  const CliCommand* command = FindCliCommand(argv[1]);
  if (!command) return CliUsage(argv[1]);
  // The servers before any command runs: a file that cannot be used whole
  // stops here with its one message, before anything is sent.
  std::string problem;
  if (!vt::UseServersAtStartUp(configPath, &problem)) {
    fprintf(stderr, "veltrane-cli: %s\n", problem.c_str());
    return kCliBadArguments;
  }
  return command->run(argc - 1, argv + 1);
}
