#include "base/Log.h"

#include <atomic>
#include <cstdarg>
#include <string>

namespace vt {

namespace {
std::atomic<FILE*> g_logStream{nullptr};  // nullptr: stdout
std::atomic<LogSink> g_logSink{nullptr};  // nullptr: none

void Write(const char* data, size_t size) {
  FILE* out = g_logStream.load(std::memory_order_relaxed);
  if (!out) out = stdout;
  fwrite(data, 1, size, out);
  fflush(out);
  if (LogSink sink = g_logSink.load(std::memory_order_acquire)) sink(data, size);
}
}  // namespace

void SetLogStream(FILE* stream) { g_logStream.store(stream, std::memory_order_relaxed); }

void SetLogSink(LogSink sink) { g_logSink.store(sink, std::memory_order_release); }

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
