#include "model/DialFigures.h"

namespace vt {

namespace {
const double kScale4[6] = {0.25, 0.5, 1, 2, 3, 4};
const double kScale8[6] = {1, 2, 4, 8, 12, 20};
const double kScale12[6] = {4, 12, 20, 50, 80, 100};
const double kScale16[6] = {20, 50, 100, 500, 800, 1000};
const char* const kLabels4[6] = {"256K", "512K", "1M", "2M", "3M", "4M"};
const char* const kLabels8[6] = {"1M", "2M", "4M", "8M", "12M", "20M"};
const char* const kLabels12[6] = {"4M", "12M", "20M", "50M", "80M", "100M"};
const char* const kLabels16[6] = {"20M", "50M", "100M", "500M", "800M", "1G"};
constexpr double kSegment = 166.66666666666666;
}  // namespace

const double* DialScaleRow(int bandwidthLevel) {
  switch (bandwidthLevel) {
    case 4: return kScale4;
    case 12: return kScale12;
    case 16: return kScale16;
    default: return kScale8;
  }
}

const char* const* DialScaleLabels(int bandwidthLevel) {
  switch (bandwidthLevel) {
    case 4: return kLabels4;
    case 8: return kLabels8;
    case 12: return kLabels12;
    case 16: return kLabels16;
    default: return nullptr;
  }
}

double DialPosition(int bandwidthLevel, double x) {
  const double* p = DialScaleRow(bandwidthLevel);
  if (x <= p[0]) return x / p[0] * kSegment;
  if (x > p[5]) return 1000.0;
  for (int k = 5; k >= 1; --k)
    if (x > p[k - 1]) return kSegment * k + kSegment * (x - p[k - 1]) / (p[k] - p[k - 1]);
  return 0.0;  // not reached: x > p[0] here
}

int DialValueOf(double position) { return static_cast<int>(position + 1e-9); }

void BuildNeedleSteps(double a, double b, double steps[10]) {
  // Two capped samples in a row still show movement near the top.
  if (b > 999.95 && a > 999.3) a = 999.3;
  for (int k = 0; k < 10; ++k) steps[k] = a + (b - a) * k / 10.0;
}

}  // namespace vt
