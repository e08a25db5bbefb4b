#include "base/Log.h"

#include "base/LogFileRules.h"

#include <atomic>
#include <cstdarg>
#include <string>

namespace vt {

namespace {
std::atomic<FILE*> g_logStream{nullptr};  // nullptr: stdout
std::atomic<FILE*> g_logCopy{nullptr};    // nullptr: no copy

void Write(const char* data, size_t size) {
  FILE* out = g_logStream.load(std::memory_order_relaxed);
  if (!out) out = stdout;
  fwrite(data, 1, size, out);
  fflush(out);
  if (FILE* copy = g_logCopy.load(std::memory_order_relaxed)) {
    std::string masked = MaskSecrets(std::string(data, size));
    fwrite(masked.data(), 1, masked.size(), copy);
    fflush(copy);
  }
}
}  // namespace

void SetLogStream(FILE* stream) { g_logStream.store(stream, std::memory_order_relaxed); }

void SetLogCopyStream(FILE* stream) { g_logCopy.store(stream, std::memory_order_relaxed); }

void LogLine(const char* text) {
  std::string line(text ? text : "");
  line += '\n';
  Write(line.data(), line.size());
}

void LogFormat(const char* format, ...) {
  char buffer[4096];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return;
  size_t size = static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n) : sizeof buffer - 1;
  Write(buffer, size);
}

}  // namespace vt
