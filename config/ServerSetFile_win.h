// Where the server set comes from at start-up, for both programs: the file
// named by "--config FILE", else veltrane.ini beside the executable, else
// (no such file) the compiled-in production set. The file is read with
// Windows' own profile API and checked whole (config/ServerSetIni.h).
#pragma once

#include <string>

#include "config/ServerSet.h"

namespace vt {

// The file's name beside the executable.
constexpr const char kServerFileName[] = "veltrane.ini";

// Reads the set of the file at path (made a full path first: the profile
// API would look a bare name up in the Windows folder). False, with the
// one message "<file>: [section] key: what is wrong" in *message, when the
// file cannot be read or used whole; *set is then untouched.
bool ReadServerSetFile(const char* path, ServerSet* set, std::string* message);

// The start-up step: reads the set from configPath (null: veltrane.ini
// beside the executable, where an absent file means the production set),
// puts it in use and logs ServerSetSummary. On failure nothing is put in
// use and *message is the one message to show. Call before any thread.
bool UseServersAtStartUp(const char* configPath, std::string* message);

}  // namespace vt
