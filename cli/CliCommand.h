// Commands of veltrane-cli. Each command lives in a file of its own
// (cli/<Name>Command_win.cpp) and registers itself with a static
// CliCommandRegistrar; the entry point looks the first argument up here.
#pragma once

struct CliCommand {
  const char* name;
  const char* usage;  // one line: arguments after the name
  int (*run)(int argc, char** argv);  // argv[0] is the command name
};

// Exit codes shared by every command.
enum CliExit {
  kCliOk = 0,
  kCliFailed = 1,
  kCliBadArguments = 2,
};

class CliCommandRegistrar {
 public:
  explicit CliCommandRegistrar(const CliCommand& command);
};

const CliCommand* FindCliCommand(const char* name);
// Prints the usage of every command to standard error; names the bad
// argument first when there is one. Returns kCliBadArguments.
int CliUsage(const char* badArgument);
