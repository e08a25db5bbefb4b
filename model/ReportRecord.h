// Every result the report sends, under the report form's keys.
#pragma once

#include <cstdint>
#include <string>

struct ReportRecord {
  std::string seq;                                  // test number granted by the platform
  int32_t mod = 0;                                  // server mode: 1 Internet, 2 metropolitan network
  int32_t testlevel = 0;                            // bandwidth level 4, 8, 12 or 16
  int32_t bandwidth = 0;                            // contracted line bandwidth as a number (the 90 % rule)
  int32_t speed_rtt = 0;                            // ms
  double speed_speed = 0.0;                         // Mbit/s
  double speed_upload = 0.0;                        // Mbit/s
  double app_t1 = 0.0, app_t2 = 0.0, app_t3 = 0.0;  // Mbit/s
  int32_t hoopsWAN = 0, delayWAN = 0, hoopsLAN = 0, delayLAN = 0;
  std::string traceDelay;  // "%d|" per hop
  std::string traceHoops;  // address + "|" per hop
  std::string lancomment;
};
