#include "net/http/HttpLog.h"

#include <cstdio>

namespace vt {

std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps) {
  char number[64];
  std::string line = "http download OK:" + url + " Recv:" + std::to_string(bytesReceived) + " Speed:";
  snprintf(number, sizeof number, "%g", speedMbps);
  return line + number;
}

}  // namespace vt
