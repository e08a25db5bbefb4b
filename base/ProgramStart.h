// The start-up line of the log: which program, which version, on which
// Windows, in which code page. Support reads it first.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

struct ProgramFacts {
  const char* program = nullptr;  // "veltrane", "veltrane-cli"
  const char* version = nullptr;
  const char* platform = nullptr;  // "x64", "x86"
  uint32_t major = 0, minor = 0, build = 0;
  bool server = false;      // a server edition of Windows
  bool wow64 = false;       // a 32-bit program on 64-bit Windows
  uint32_t codePage = 0;    // the ANSI code page
  uint32_t processId = 0;
  std::string path;         // the executable
};

// "Windows 7", "Windows 10", "Windows 11", "Windows Server 2012 R2", ... by
// the version numbers (RtlGetVersion's, which are not shimmed);
// "Windows NT a.b" for numbers it does not know.
std::string WindowsName(uint32_t major, uint32_t minor, uint32_t build, bool server);

// "veltrane 2.21.2.718 (x64) started: Windows 10 (10.0.19045), code page
// 936, process 1234, C:\...\veltrane.exe"
std::string ProgramStartText(const ProgramFacts& facts);

}  // namespace vt
