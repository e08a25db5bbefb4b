#include "base/ProgramStart_win.h"

#include <windows.h>

#include "base/ProgramStart.h"
#include "base/Version.h"

namespace vt {

namespace {

// GetVersionEx answers what the manifest declares (or 6.2 without one);
// RtlGetVersion answers what runs. Looked up at run time: it is ntdll's.
void WindowsVersion(ProgramFacts* f) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  auto get = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                         reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                   : nullptr;
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!get || get(&info) != 0) return;
  f->major = info.dwMajorVersion;
  f->minor = info.dwMinorVersion;
  f->build = info.dwBuildNumber;
  f->server = info.wProductType != VER_NT_WORKSTATION;
}

}  // namespace

std::string ProgramStartLine(const char* program) {
  ProgramFacts f;
  f.program = program;
  f.version = VELTRANE_VERSION_TEXT;
#ifdef _WIN64
  f.platform = "x64";
#else
  f.platform = "x86";
  BOOL wow64 = FALSE;
  f.wow64 = IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
  WindowsVersion(&f);
  f.codePage = GetACP();
  f.processId = GetCurrentProcessId();
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) f.path.assign(path, n);
  return ProgramStartText(f);
}

}  // namespace vt
