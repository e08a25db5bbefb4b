// The pieces of the self-update that are plain text and rules: the copy
// command's parameters, the path of the downloaded file, and whether a
// download may replace the executable.
#pragma once

#include <cstddef>
#include <string>

namespace vt {

constexpr size_t kUpdatePathLimit = 260;  // MAX_PATH, terminator included

// "/c copy /Y <source> <target> >nul & <target>": the interpreter copies the
// update over the executable, drops the copy's output and starts the
// executable again whatever the copy did. The paths are short (8.3) paths
// where the volume keeps such names, and go in as they are. A volume without
// 8.3 names gives the long path back: a path with a blank or a character the
// interpreter reads as an operator (& | ^ ( ) < > and the like) goes in
// quotes, so it stays one word and cannot split the line. ("%" still expands
// inside quotes; a folder name of the form %NAME% is not guarded against.)
std::string CopyCommandParameters(const char* source, const char* target);

// The temporary folder (ending in a backslash) followed directly by the file
// name, cut to at most 259 bytes at a character boundary.
std::string UpdateSourcePath(const char* tempFolder, const char* fileName);

// Whether a downloaded update may replace the executable: the download was
// complete and the file begins like a Windows executable ("MZ"). head holds
// the file's first bytes (headLen of them). A partial or foreign file is left
// alone, so a broken install or an update loop cannot happen.
bool UpdateInstallable(bool downloadComplete, const char* head, size_t headLen);

}  // namespace vt
