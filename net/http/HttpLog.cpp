#include "net/http/HttpLog.h"

#include <atomic>
#include <cstring>

namespace vt {

namespace {
std::atomic<FILE*> g_logStream{nullptr};  // nullptr: stdout
}

void SetLogStream(FILE* stream) { g_logStream.store(stream, std::memory_order_relaxed); }

void LogLine(const char* text) {
  FILE* out = g_logStream.load(std::memory_order_relaxed);
  if (!out) out = stdout;
  std::string line(text ? text : "");
  line += '\n';
  fwrite(line.data(), 1, line.size(), out);  // one call: the line is not split by another thread's
  fflush(out);
}

std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps) {
  char number[64];
  std::string line = "http download OK:" + url + " Recv:" + std::to_string(bytesReceived) + " Speed:";
  snprintf(number, sizeof number, "%g", speedMbps);
  return line + number;
}

}  // namespace vt
