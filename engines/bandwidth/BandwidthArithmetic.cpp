#include "engines/bandwidth/BandwidthArithmetic.h"

namespace vt {

int32_t TrimmedMeanSpeed(const int32_t* samples, int32_t n) {
  if (n <= 0 || !samples) return 0;
  int64_t sum = 0;
  for (int32_t i = 0; i < n; ++i) sum += samples[i];
  int64_t mean = sum / n;
  int64_t threshold = mean / 20;
  int64_t largest = 0;
  for (int32_t i = 0; i < n; ++i)
    if (samples[i] > largest) largest = samples[i];
  int64_t kept = 0;
  int64_t keptSum = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (samples[i] > threshold) {
      ++kept;
      keptSum += samples[i];
    }
  }
  int64_t result = kept >= 2 ? (keptSum - largest) / (kept - 1) : keptSum;
  // A mean of 32-bit samples fits, except for a lone kept sample set that
  // itself cannot be larger than one sample; clamp all the same.
  if (result > INT32_MAX) result = INT32_MAX;
  if (result < INT32_MIN) result = INT32_MIN;
  return static_cast<int32_t>(result);
}

DownloadSampler::Step DownloadSampler::Pass(uint32_t total, bool allWorkersEnded) {
  Step step;
  uint32_t delta = total - previous_;  // modulo 2^32
  previous_ = total;
  if (delta != 0) {
    emptyRun_ = 0;
    // Samples are 32-bit signed: an interval of 2^31 bytes or more (over
    // 17 Gbit/s, the lab on loopback) is kept as the largest one, not as a
    // negative number that the trimmed mean would drop.
    if (count_ < kSpeedSampleCapacity)
      samples_[count_++] = delta > static_cast<uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(delta);
    step.postSample = true;
    step.delta = delta;
    if (budget_ <= 0 || count_ >= kSpeedSampleCapacity) {
      step.finish = true;
    } else {
      --budget_;
    }
    return step;
  }
  ++emptyRun_;
  if (allWorkersEnded || emptyRun_ >= maxEmpty_) step.finish = true;
  return step;
}

uint32_t UploadRate(uint64_t sumBytes, uint32_t elapsedMs, uint32_t previousRate) {
  if (elapsedMs == 0) return previousRate;
  uint64_t rate = (sumBytes / elapsedMs) * 1000u;
  return rate > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(rate);
}

UploadSampler::Step UploadSampler::Pass(uint64_t sumBytes, uint32_t elapsedMs) {
  uint32_t sinceStart = UploadRate(sumBytes, elapsedMs, rate_);
  rate_ = sinceStart;
  if (passes_ == kBasePass) {
    baseBytes_ = sumBytes;
    baseMs_ = elapsedMs;
  } else if (passes_ > kBasePass && elapsedMs > baseMs_ && sumBytes >= baseBytes_) {
    // Counters only grow and the tick count only advances; anything else
    // (which cannot happen) keeps the mean since the start.
    uint32_t steady = UploadRate(sumBytes - baseBytes_, elapsedMs - baseMs_, 0);
    if (uint64_t{sinceStart} * 100 > uint64_t{steady} * (100 + kHeadStartPercent)) rate_ = steady;
  }
  ++passes_;
  Step step;
  step.rate = rate_;
  --n_;
  step.finish = n_ <= 0;
  return step;
}

}  // namespace vt
