// The facts of the running program for its start-up line (base/ProgramStart.h).
#pragma once

#include <string>

namespace vt {

// program: "veltrane" or "veltrane-cli".
std::string ProgramStartLine(const char* program);

}  // namespace vt
