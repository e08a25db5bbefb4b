#include "base/CrashReport_win.h"

#include <dbghelp.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "base/CrashText.h"
#include "base/Log.h"
#include "base/LogFile_win.h"
#include "base/Version.h"

namespace vt {

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                          PMINIDUMP_EXCEPTION_INFORMATION, PMINIDUMP_USER_STREAM_INFORMATION,
                                          PMINIDUMP_CALLBACK_INFORMATION);

char g_folder[MAX_PATH];
MiniDumpWriteDumpFn g_writeDump = nullptr;
HANDLE g_request = nullptr;    // set by the failing thread
HANDLE g_filesDone = nullptr;  // set by the reporter: dump, text and log line written
HANDLE g_boxDone = nullptr;    // set by the reporter: the user closed the box
DWORD g_reporterId = 0;
volatile LONG g_owner = 0;     // the thread whose failure is being reported

// The failure being reported, filled by the failing thread.
struct Request {
  DWORD code;
  DWORD threadId;
  EXCEPTION_POINTERS* pointers;
  char detail[512];
};
Request g_crash;

#ifdef _WIN64
constexpr char kPlatform[] = "x64";
#else
constexpr char kPlatform[] = "x86";
#endif

const char* BaseName(const char* path) {
  const char* slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

// Writes the minidump; returns null, or what went wrong.
const char* WriteDump(const char* path, char* problem, size_t size) {
  if (!g_writeDump) return "dbghelp.dll or MiniDumpWriteDump is missing";
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    snprintf(problem, size, "the file cannot be created (error %lu)", GetLastError());
    return problem;
  }
  MINIDUMP_EXCEPTION_INFORMATION info = {};
  info.ThreadId = g_crash.threadId;
  info.ExceptionPointers = g_crash.pointers;
  info.ClientPointers = FALSE;
  // Stacks, threads and modules, no heap: enough for where and why, and no
  // copy of what the user typed beyond what the stacks held.
  BOOL ok = g_writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &info, nullptr, nullptr);
  DWORD error = GetLastError();
  CloseHandle(file);
  if (ok) return nullptr;
  snprintf(problem, size, "MiniDumpWriteDump failed (error 0x%08lX)", error);
  return problem;
}

void WriteTextFile(const char* path, const char* text) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD done = 0;
  WriteFile(file, text, static_cast<DWORD>(strlen(text)), &done, nullptr);
  CloseHandle(file);
}

// Dump, text and log line of g_crash. Returns the report's base name in base.
void WriteReport(char* base, size_t baseSize) {
  static char path[MAX_PATH * 2], problem[160], module[MAX_PATH], text[2048], logName[MAX_PATH];
  SYSTEMTIME t;
  GetLocalTime(&t);
  CrashFacts f;
  f.time = {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  f.processId = GetCurrentProcessId();
  f.threadId = g_crash.threadId;
  f.code = g_crash.code;
  f.version = VELTRANE_VERSION_TEXT;
  f.platform = kPlatform;
  f.detail = g_crash.detail;
  const EXCEPTION_RECORD* record = g_crash.pointers ? g_crash.pointers->ExceptionRecord : nullptr;
  if (record) {
    f.address = reinterpret_cast<uintptr_t>(record->ExceptionAddress);
    if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 2) {
      f.accessKind = static_cast<int>(record->ExceptionInformation[0]);
      f.accessAddress = record->ExceptionInformation[1];
    }
  }
  HMODULE owner = nullptr;
  if (f.address && GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                      reinterpret_cast<LPCSTR>(f.address), &owner) &&
      GetModuleFileNameA(owner, module, sizeof module)) {
    f.module = BaseName(module);
    f.moduleOffset = f.address - reinterpret_cast<uintptr_t>(owner);
  }
  snprintf(logName, sizeof logName, "%s", BaseName(LogFilePath()));
  f.logName = logName[0] ? logName : nullptr;

  FormatCrashBaseName(f.time, f.processId, base, baseSize);
  snprintf(path, sizeof path, "%s\\%s.dmp", g_folder, base);
  f.dumpName = BaseName(path);
  f.dumpProblem = WriteDump(path, problem, sizeof problem);
  FormatCrashText(f, text, sizeof text);
  snprintf(path, sizeof path, "%s\\%s.txt", g_folder, base);
  WriteTextFile(path, text);

  LogFormat("crash: %s (0x%08lX) at %s+0x%llX, report %s.txt\r\n", CrashCodeName(f.code),
            static_cast<unsigned long>(f.code), f.module ? f.module : "?", static_cast<unsigned long long>(f.moduleOffset),
            base);
  FlushLogFile(2000);
}

unsigned __stdcall ReporterThread(void*) {
  // Waits for the process's one failure, however long it runs.
  WaitForSingleObject(g_request, INFINITE);
  static char base[64], box[2048];
  WriteReport(base, sizeof base);
  SetEvent(g_filesDone);
  const char* logPath = LogFilePath();
  FormatCrashBoxText(g_folder, base, logPath[0] ? BaseName(logPath) : nullptr, box, sizeof box);
  MessageBoxA(nullptr, box, kCrashBoxCaption, MB_OK | MB_ICONERROR | MB_SYSTEMMODAL | MB_SETFOREGROUND);
  SetEvent(g_boxDone);
  return 0;
}

[[noreturn]] void EndProcess(DWORD code) {
  TerminateProcess(GetCurrentProcess(), code);
  for (;;) Sleep(INFINITE);  // TerminateProcess of the own process does not return
}

[[noreturn]] void Crash(DWORD code, EXCEPTION_POINTERS* pointers, const char* detail) {
  DWORD me = GetCurrentThreadId();
  LONG before = InterlockedCompareExchange(&g_owner, static_cast<LONG>(me), 0);
  if (before != 0) {
    // A failure while reporting: no second report, no second box.
    if (static_cast<DWORD>(before) == me || me == g_reporterId) EndProcess(code);
    for (;;) Sleep(INFINITE);  // the first report ends the process
  }
  g_crash.code = code;
  g_crash.threadId = me;
  g_crash.pointers = pointers;
  // No formatting here: the failing thread's stack may have overflowed.
  size_t n = 0;
  for (; detail && detail[n] && n + 1 < sizeof g_crash.detail; ++n) g_crash.detail[n] = detail[n];
  g_crash.detail[n] = '\0';
  SetEvent(g_request);
  if (WaitForSingleObject(g_filesDone, kCrashFilesWaitMs) == WAIT_OBJECT_0) WaitForSingleObject(g_boxDone, INFINITE);
  EndProcess(code);
}

// The three failures that raise no exception: reported with the failing
// thread's own context, as if they had.
[[noreturn]] __attribute__((noinline)) void CrashHere(DWORD code, const char* detail, void* address) {
  static CONTEXT context;
  static EXCEPTION_RECORD record;
  static EXCEPTION_POINTERS pointers;
  RtlCaptureContext(&context);
  record = EXCEPTION_RECORD{};
  record.ExceptionCode = code;
  record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
  record.ExceptionAddress = address;
  pointers.ExceptionRecord = &record;
  pointers.ContextRecord = &context;
  Crash(code, &pointers, detail);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* pointers) {
  Crash(pointers->ExceptionRecord->ExceptionCode, pointers, nullptr);
}

void OnTerminate() {
  static char detail[256];
  detail[0] = '\0';
  if (std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& e) {
      snprintf(detail, sizeof detail, "uncaught exception: %s", e.what());
    } catch (...) {
      snprintf(detail, sizeof detail, "uncaught exception of a type not derived from std::exception");
    }
  }
  CrashHere(kCrashTerminate, detail, __builtin_return_address(0));
}

void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*, unsigned int, uintptr_t) {
  CrashHere(kCrashInvalidParameter, nullptr, __builtin_return_address(0));
}

void __cdecl OnPureCall() { CrashHere(kCrashPureCall, nullptr, __builtin_return_address(0)); }

}  // namespace

bool InstallCrashReporting(const std::string& folder) {
  if (g_request) return true;
  snprintf(g_folder, sizeof g_folder, "%s", folder.c_str());
  char path[MAX_PATH];
  UINT n = GetSystemDirectoryA(path, MAX_PATH - 16);
  if (n > 0 && n < MAX_PATH - 16) {
    strcat(path, "\\dbghelp.dll");
    if (HMODULE dbghelp = LoadLibraryA(path))
      g_writeDump = reinterpret_cast<MiniDumpWriteDumpFn>(
          reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
  }
  g_request = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  g_filesDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  g_boxDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  unsigned id = 0;
  uintptr_t thread =
      g_request && g_filesDone && g_boxDone ? _beginthreadex(nullptr, 0, ReporterThread, nullptr, 0, &id) : 0;
  if (!thread) {
    g_request = nullptr;
    return false;
  }
  CloseHandle(reinterpret_cast<HANDLE>(thread));
  g_reporterId = id;
  SetUnhandledExceptionFilter(OnUnhandledException);
  std::set_terminate(OnTerminate);
  _set_invalid_parameter_handler(OnInvalidParameter);
  _set_purecall_handler(OnPureCall);
  return true;
}

}  // namespace vt

// A pure virtual call in code built by GCC lands here, not in the C
// library's _purecall; without this it would end in std::terminate.
extern "C" void __cxa_pure_virtual() { vt::CrashHere(vt::kCrashPureCall, nullptr, __builtin_return_address(0)); }
