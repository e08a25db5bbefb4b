// The log file: every line of the diagnostic log (base/Log.h), stamped to
// the millisecond with its thread and masked (base/LogFileRules.h), written
// by one writer thread.
//
// a) A logging thread only formats its line and puts it in a bounded queue;
//    it never waits for the disk. Lines that find the queue full are
//    dropped and counted, and the writer logs the count.
// b) veltrane.exe writes one file a day, veltrane-YYYYMMDD.log, under
//    %LOCALAPPDATA%\Veltrane\logs; when it opens a day's file it removes the
//    files the retention rule names. Today's file stops growing at its
//    limit. veltrane-cli --log FILE appends to that one file instead.
// c) The file is opened for appending with every sharing flag, so another
//    instance, the support bundle and an editor can read it meanwhile.
// d) FlushLogFile takes no lock: a crash report calls it while the crashed
//    thread may hold the queue's.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/LogFileRules.h"

namespace vt {

struct LogFileSettings {
  std::string folder;  // daily files here, or:
  std::string path;    // every line appended to this file
  size_t queueLines = 8192;
  size_t queueBytes = 4u * 1024 * 1024;
  uint64_t dayFileBytes = kLogDayFileBytes;  // daily files only
};

// Opens the file (today's, or settings.path), starts the writer and makes
// it the log's sink. False, with nothing started, when the file cannot be
// opened or a writer runs already.
bool StartLogFile(const LogFileSettings& settings);

// True when every line logged before the call is in the file; false after
// waitMs, or when no writer runs.
bool FlushLogFile(DWORD waitMs);

// Flushes (at most 2 s), stops the writer and removes the sink. Also run
// at exit.
void StopLogFile();

// Puts text in the file only, not on the log's stream: the console's
// start-up facts, which its standard error has never carried.
void LogToFileOnly(const std::string& text);

// The full path of the file being written, "" when none. Kept in a fixed
// buffer, so a crash report may read it.
const char* LogFilePath();

// %LOCALAPPDATA%\Veltrane\<sub>, created when missing; "" when it cannot be.
std::string LocalDataFolder(const char* sub);

}  // namespace vt
