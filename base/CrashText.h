// The texts of a crash report, kept free of Windows so they are tested
// natively: the report's file name, the short text written beside the
// minidump, and the one message box. Everything is formatted into the
// caller's fixed buffer (no allocation: the heap may be what broke), cut
// at its end.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/LogFileRules.h"

namespace vt {

// The codes of the failures that are no exception of the processor's: the
// report and the process's exit code carry them.
constexpr uint32_t kCrashTerminate = 0xE5540001u;         // std::terminate
constexpr uint32_t kCrashInvalidParameter = 0xE5540002u;  // the C library's invalid parameter
constexpr uint32_t kCrashPureCall = 0xE5540003u;          // a pure virtual function called

// "EXCEPTION_ACCESS_VIOLATION", "std::terminate", ...; "unknown exception"
// for a code not in the table.
const char* CrashCodeName(uint32_t code);

struct CrashFacts {
  uint32_t code = 0;
  uint64_t address = 0;          // where it happened
  const char* module = nullptr;  // the module holding address (file name), null when none
  uint64_t moduleOffset = 0;     // address less the module's base
  // An access violation's operation (0 read, 1 write, 8 execute) and
  // address; -1 when not one.
  int accessKind = -1;
  uint64_t accessAddress = 0;
  const char* detail = nullptr;  // std::terminate: what the uncaught exception said
  const char* version = nullptr;
  const char* platform = nullptr;  // "x64" or "x86"
  LogClock time{};
  uint32_t processId = 0, threadId = 0;
  const char* dumpName = nullptr;
  const char* dumpProblem = nullptr;  // null when the minidump was written
  const char* logName = nullptr;      // today's log file, null when none
};

// "crash-20261211-003307-1234": the .txt and .dmp of one report.
void FormatCrashBaseName(const LogClock& time, uint32_t processId, char* out, size_t size);

// The report's text: a few "name: value" lines, "\r\n" ended.
void FormatCrashText(const CrashFacts& facts, char* out, size_t size);

// The message box: where the report is and that the log holds the line's
// figures measured so far.
constexpr const char kCrashBoxCaption[] = "Veltrane 错误报告";
void FormatCrashBoxText(const char* folder, const char* baseName, const char* logName, char* out, size_t size);

}  // namespace vt
