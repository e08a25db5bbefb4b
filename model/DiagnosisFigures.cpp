#include "model/DiagnosisFigures.h"

namespace vt {

void RescaleAgainstPing(int32_t rtt, int32_t* delayWAN, int32_t* delayLAN) {
  const int64_t sum = static_cast<int64_t>(*delayWAN) + *delayLAN;
  if (!(rtt > 0 && rtt < sum)) return;
  const double s = static_cast<double>(sum);
  int32_t lan = static_cast<int32_t>(rtt * static_cast<double>(*delayLAN) * 1.3 / s);
  int32_t wan = static_cast<int32_t>(rtt * static_cast<double>(*delayWAN) * 1.3 / s);
  *delayLAN = lan <= 0 ? 1 : lan;
  *delayWAN = wan <= 0 ? 1 : wan;
}

}  // namespace vt
