// crash-probe.exe: a test program that fails on purpose, in the way its
// second argument names, after setting up the log file and the crash
// reports as veltrane.exe does, with both in the folder of its first:
//
//   crash-probe FOLDER access|divide|stack|terminate|invalid-parameter|purecall|two-threads|again
//
// "two-threads" fails in two threads at once; "again" fails a second time
// while the first failure is being reported (its log line).
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "base/CrashReport_win.h"
#include "base/Log.h"
#include "base/LogFile_win.h"

namespace {

volatile int g_zero = 0;

__attribute__((noinline)) void WriteThroughNull() {
  volatile int* target = reinterpret_cast<volatile int*>(static_cast<uintptr_t>(g_zero));
  *target = 1;
}

// Ends only when the stack does (g_zero is never set).
__attribute__((noinline)) int Recurse(int depth) {
  volatile char pad[4096];
  pad[0] = static_cast<char>(depth);
  if (depth < 0 && g_zero) return 0;
  return Recurse(depth + 1) + pad[0];
}

DWORD WINAPI FailLater(void*) {
  Sleep(50);
  WriteThroughNull();
  return 0;
}

// The log's sink while reporting "again": the report's own log line fails.
void FailingSink(const char* text, size_t size) {
  if (size >= 6 && memcmp(text, "crash:", 6) == 0) WriteThroughNull();
}

}  // namespace

// Outside the anonymous namespace: there the compiler would know every
// class derived from Base and drop the call.
struct ProbeBase {
  ProbeBase() { CallFromBase(); }
  virtual ~ProbeBase() = default;
  virtual void Run() = 0;
  // Still ProbeBase's table here: the pure slot. Through a volatile
  // pointer, so the compiler cannot see which object it is.
  __attribute__((noinline)) void CallFromBase() {
    ProbeBase* volatile self = this;
    self->Run();
  }
};
struct ProbeDerived : ProbeBase {
  void Run() override { puts("probe: not reached"); }
};

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const char* folder = argv[1];
  const char* kind = argv[2];
  vt::SetLogStream(stdout);
  vt::LogFileSettings settings;
  settings.folder = folder;
  if (!vt::StartLogFile(settings) || !vt::InstallCrashReporting(folder)) return 3;
  vt::LogLine("probe: bandwidth test end, download 93.50 Mbps, rtt 4 ms, upload 41.20 Mbps");
  if (strcmp(kind, "access") == 0) {
    WriteThroughNull();
  } else if (strcmp(kind, "divide") == 0) {
    printf("%d\n", 7 / g_zero);
  } else if (strcmp(kind, "stack") == 0) {
    printf("%d\n", Recurse(0));
  } else if (strcmp(kind, "terminate") == 0) {
    throw std::runtime_error("probe: nobody catches this");
  } else if (strcmp(kind, "invalid-parameter") == 0) {
    // Windows' msvcrt.dll calls the handler from its checked functions;
    // Wine's has no handler to set and returns an error instead, so the
    // probe then calls the installed handler as the library would.
    char small[2];
    strcpy_s(small, sizeof small, "too long for it");
    if (_invalid_parameter_handler handler = _get_invalid_parameter_handler()) handler(nullptr, nullptr, nullptr, 0, 0);
  } else if (strcmp(kind, "purecall") == 0) {
    ProbeDerived d;
    d.Run();
  } else if (strcmp(kind, "two-threads") == 0) {
    HANDLE other = CreateThread(nullptr, 0, FailLater, nullptr, 0, nullptr);
    Sleep(50);
    WriteThroughNull();
    if (other) WaitForSingleObject(other, INFINITE);
  } else if (strcmp(kind, "again") == 0) {
    vt::FlushLogFile(2000);
    vt::SetLogSink(FailingSink);
    WriteThroughNull();
  } else {
    return 2;
  }
  return 0;  // not reached when the failure is reported
}
