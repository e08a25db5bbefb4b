// Command lines of the ping and route-trace runners. The host comes from the
// window (the platform server's address), but it is pasted into a command
// line that CreateProcess splits at blanks, so it is checked first: a host
// text that is not a plain host name or address could add options ("-t"
// makes ping run forever) or further arguments.
#pragma once

#include <cstddef>

namespace vt {

// The command-line buffers hold at most 127 characters and a zero byte.
constexpr size_t kCommandLineSize = 128;

// True for a non-empty host name or address: letters, digits, '.', '-',
// ':' and '_' only (IPv6 scope ids: '%'), not starting with '-'.
bool IsPlainHostText(const char* host);

// Fills out with pattern (one "%s") and host. A host that is not plain
// leaves out empty and gives false. A line longer than 127 characters is cut
// after its 127th (the host is ASCII, so no character is split).
bool FormatCommandLine(char (&out)[kCommandLineSize], const char* pattern, const char* host);

}  // namespace vt
