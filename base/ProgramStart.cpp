#include "base/ProgramStart.h"

#include <cstdio>

namespace vt {

std::string WindowsName(uint32_t major, uint32_t minor, uint32_t build, bool server) {
  struct Name {
    uint32_t major, minor;
    const char* desktop;
    const char* server;
  };
  static const Name kNames[] = {
      {5, 1, "Windows XP", "Windows XP"},          {5, 2, "Windows XP x64", "Windows Server 2003"},
      {6, 0, "Windows Vista", "Windows Server 2008"}, {6, 1, "Windows 7", "Windows Server 2008 R2"},
      {6, 2, "Windows 8", "Windows Server 2012"},  {6, 3, "Windows 8.1", "Windows Server 2012 R2"},
  };
  for (const Name& n : kNames)
    if (n.major == major && n.minor == minor) return server ? n.server : n.desktop;
  if (major == 10 && minor == 0) {
    // Windows 11 and the later servers kept the 10.0 numbers: the build tells.
    if (server) return build >= 26100 ? "Windows Server 2025" : build >= 20348 ? "Windows Server 2022"
                       : build >= 17763 ? "Windows Server 2019" : "Windows Server 2016";
    return build >= 22000 ? "Windows 11" : "Windows 10";
  }
  char text[48];
  snprintf(text, sizeof text, "Windows NT %u.%u", major, minor);
  return text;
}

std::string ProgramStartText(const ProgramFacts& f) {
  char numbers[160];
  snprintf(numbers, sizeof numbers, " (%u.%u.%u%s), code page %u, process %u, ", f.major, f.minor, f.build,
           f.wow64 ? ", 64-bit" : "", f.codePage, f.processId);
  return std::string(f.program ? f.program : "?") + " " + (f.version ? f.version : "?") + " (" +
         (f.platform ? f.platform : "?") + ") started: " + WindowsName(f.major, f.minor, f.build, f.server) +
         numbers + f.path;
}

}  // namespace vt
