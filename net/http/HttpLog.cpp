#include "net/http/HttpLog.h"

#include <cstdio>
#include <cstring>

namespace vt {

void LogLine(const char* text) {
  std::string line(text ? text : "");
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);  // one call: the line is not split by another thread's
  fflush(stdout);
}

std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps) {
  char number[64];
  std::string line = "http download OK:" + url + " Recv:" + std::to_string(bytesReceived) + " Speed:";
  snprintf(number, sizeof number, "%g", speedMbps);
  return line + number;
}

}  // namespace vt
