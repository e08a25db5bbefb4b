// Start-up before any window: the servers, the version check and the
// self-update.
//
// CheckForUpdate waits for the version thread at most 5000 ms and for the
// download thread at most 30000 ms; a thread that outlives its wait is left
// to run and its results are not looked at. The executable is replaced only
// by a download that arrived whole and is a Windows executable and, when
// the server set carries an update key, whose published signature verifies
// with it (else one message box says so); otherwise start-up goes on with
// the running version.
#pragma once

#include <windows.h>

#include "model/VersionCompare.h"

// The servers, before anything is sent: the file of "--config FILE" among
// the program's arguments (argv[0] is the program; other arguments are
// ignored, as they always were), else veltrane.ini beside the executable,
// else the compiled-in production set. When the file cannot be used whole,
// shows the one message box and returns false: the program then ends with
// kServerFileExitCode, nothing sent.
constexpr int kServerFileExitCode = 2;
bool UseServersOrExplain(int argc, char** argv);

// What CheckForUpdate runs and how long it waits; the defaults are the
// product's. Tests swap the threads, the waits and the final step.
struct UpdateCheckSettings {
  DWORD versionWaitMs = 5000;
  DWORD downloadWaitMs = 30000;
  unsigned(__stdcall* versionThread)(void*) = nullptr;    // null: VersionCheckThread
  unsigned(__stdcall* downloadThread)(void*) = nullptr;   // null: UpdateDownloadThread
  VersionPair (*ownVersion)() = nullptr;                  // null: OwnFileVersion
  void (*replace)(const char* fileName) = nullptr;        // null: ReplaceSelfAndRestart
  unsigned(__stdcall* signatureThread)(void*) = nullptr;  // null: UpdateSignatureThread
  DWORD signatureWaitMs = 10000;
  // The update key as the server set writes it; null: the server set's own.
  // "" means no key: updates install unverified.
  const char* updatePublicKey = nullptr;
};

// Says in the log when no update key is configured (updates then install
// unverified, as before signing existed).
void LogUpdateSigning();

// Returns when start-up goes on; ends the process when the update is installed.
void CheckForUpdate();
void CheckForUpdate(const UpdateCheckSettings& settings);

// The interpreter (COMSPEC, empty when unset) and the parameters of the
// command that copies the update (the temporary folder's short path plus
// fileName) over this executable's short path and starts it again.
struct ReplacementCommand {
  char interpreter[MAX_PATH] = {};
  char target[MAX_PATH] = {};
  char source[MAX_PATH] = {};
  char parameters[3 * MAX_PATH + 32] = {};
};
void BuildReplacementCommand(const char* fileName, ReplacementCommand* command);

// Launches that command hidden, lowers its priority below this process's so
// that this process has exited (and released its file) before the copy runs,
// and ends the process with exit code 0, also when the launch failed.
[[noreturn]] void ReplaceSelfAndRestart(const char* fileName);
