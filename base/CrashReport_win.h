// Crash reports. After InstallCrashReporting, an unhandled exception,
// std::terminate, an invalid parameter of the C library and a pure virtual
// call each leave, in the report folder:
//   crash-YYYYMMDD-HHMMSS-PID.dmp   a minidump (MiniDumpWriteDump)
//   crash-YYYYMMDD-HHMMSS-PID.txt   the short text of base/CrashText.h
// and a "crash:" line in the log, then one message box tells the user where
// they are, and the process ends with the exception's code (for the other
// three, the codes of base/CrashText.h).
//
// Constraints:
// a) Nothing is loaded or created at crash time: dbghelp.dll (from the
//    system folder, by LoadLibrary, so the program imports nothing new and
//    starts where it is missing) and the reporting thread are set up here.
// b) The report is written by that thread, not by the failing one, whose
//    stack may be what overflowed; the failing thread waits for the files
//    at most kCrashFilesWaitMs (then ends the process without them), then
//    for the user to close the box.
// c) One report per process: a failure while a report is being written
//    ends the process at once; another thread failing meanwhile waits for
//    the report, which ends the process.
// d) The texts are formatted into fixed buffers: the heap may be what broke.
#pragma once

#include <windows.h>

#include <string>

namespace vt {

constexpr DWORD kCrashFilesWaitMs = 30000;

// folder: where the reports go (the log's folder). False when the
// reporting thread cannot be started (the handlers are then not installed).
bool InstallCrashReporting(const std::string& folder);

}  // namespace vt
