// Commands of veltrane-cli. Each command lives in a file of its own
// (cli/<Name>Command_win.cpp) and registers itself with a static
// CliCommandRegistrar; the entry point looks the first argument up here.
#pragma once

struct CliCommand {
  const char* name;
  const char* usage;                  // one line: arguments after the name
  int (*run)(int argc, char** argv);  // argv[0] is the command name
};

// Exit codes shared by every command.
enum CliExit {
  kCliOk = 0,
  kCliFailed = 1,          // an engine did not end within its bound
  kCliBadArguments = 2,    // also: the server file cannot be used (config/ServerSetFile_win.h)
  kCliRefused = 3,         // the platform answered ACCESS_DENY
  kCliNeedUpdate = 4,      // the platform answered NEED_UPDATE
  kCliUnreachable = 5,     // the platform gave no answer
  kCliBelowBandwidth = 6,  // the report was submitted, the 90 % rule not met
};

class CliCommandRegistrar {
 public:
  explicit CliCommandRegistrar(const CliCommand& command);
};

const CliCommand* FindCliCommand(const char* name);
// The line choice of the settings window as options: "--mode 1|2" (Internet
// or metropolitan) and "--level 4|8|12|16" (the dial). Returns 1 when opt is
// one of them and value is one of its values, written as such ("12", not
// "12x" or " 12"), stored in *mode or *level; 0 when opt is one of them and
// value is not; -1 when opt is neither.
int ParseLineOption(const char* opt, const char* value, int* mode, int* level);

// Prints the usage of every command to standard error; names the bad
// argument first when there is one. Returns kCliBadArguments.
int CliUsage(const char* badArgument);
