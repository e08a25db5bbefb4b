// The engines' diagnostic lines ("start %s..", "CountHoops:...", ...): one
// line each, flushed, to standard output; nothing reads them. veltrane-cli
// sends them to standard error so that its standard output holds only JSON
// lines.
#pragma once

#include <cstdio>

namespace vt {

void SetDiagnosticStream(FILE* stream);
void DiagnosticLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vt
