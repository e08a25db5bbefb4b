#include "engines/command/DiagnosticLine.h"

#include <atomic>
#include <cstdarg>

namespace vt {

namespace {
std::atomic<FILE*> g_stream{nullptr};  // null: standard output
}

void SetDiagnosticStream(FILE* stream) { g_stream.store(stream); }

void DiagnosticLine(const char* format, ...) {
  FILE* stream = g_stream.load();
  if (!stream) stream = stdout;
  va_list args;
  va_start(args, format);
  vfprintf(stream, format, args);
  va_end(args);
  fflush(stream);
}

}  // namespace vt
