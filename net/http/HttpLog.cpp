#include "net/http/HttpLog.h"

#include <cstdio>

namespace vt {

std::string ProbeLogLine(const std::string& url, uint32_t bytesReceived, double speedMbps) {
  char number[64];
  std::string line = "http download OK:" + url + " Recv:" + std::to_string(bytesReceived) + " Speed:";
  snprintf(number, sizeof number, "%g", speedMbps);
  return line + number;
}

std::string ExchangeLogLine(const char* method, const std::string& url, int32_t result, int status,
                            uint64_t bodyBytes, bool whole) {
  static const char* const kResults[] = {"ok", "", "", "host not found", "connect failed", "send failed",
                                         "file not created"};
  const char* name = result == 1 ? "Windows Sockets failed" : result >= 0 && result <= 6 ? kResults[result] : "?";
  char text[160];
  if (result != 0)
    snprintf(text, sizeof text, "platform: %s result %d (%s): ", method, static_cast<int>(result), name);
  else
    snprintf(text, sizeof text, "platform: %s status %d, %llu body bytes, %s: ", method, status,
             static_cast<unsigned long long>(bodyBytes), whole ? "whole" : "cut");
  return text + url;
}

}  // namespace vt
