// The arithmetic of the bandwidth monitors, portable: the final
// download figure TrimmedMeanSpeed, the download monitor's sampling with its
// end rules, and the upload monitor's running mean rate.
#pragma once

#include <cstdint>

namespace vt {

// Capacity of SpeedSamples: the download monitor stores at most this many
// samples, whatever sampleBudget asks for.
constexpr int kSpeedSampleCapacity = 300;

// The final download figure, bytes per interval: samples at or below one
// twentieth of the mean are dropped, then the single largest sample, and the
// rest averaged; divisions truncate toward zero. n <= 0 gives 0.
//
// The sums are taken in 64 bits, not in the 32-bit signed arithmetic of the
// rest: sixteen samples of a line faster than about 1 Gbit/s (the
// lab on loopback delivers 3) add up past 2^31, which in 32 bits is undefined
// behaviour and in practice a negative mean. Wherever the 32-bit sums do not
// overflow the result is the same; the result itself always fits, being a
// mean of 32-bit samples.
int32_t TrimmedMeanSpeed(const int32_t* samples, int32_t n);

// The download monitor, one pass per interval. Feed it the 32-bit sum of
// every job's bytesReceived; it answers whether to post a sample and whether
// the phase is over.
//
// Ends of a phase: the sample budget (the phase ends on the non-empty interval
// that finds the remaining budget at 0, the 16th with a budget of 15), the
// capacity of SpeedSamples, and two bounds of ours for a phase whose
// connections deliver nothing (which the design leaves open, since the budget
// only counts non-empty intervals):
//  - kMaxEmptyIntervals (20) consecutive empty passes end the phase. The
//    first pass comes at the phase's start, so a phase that never sees a
//    byte ends about 19 s in. Why 20: on Windows 7 a TCP connect to a
//    silent host retransmits its SYN at 3 and 9 s and gives up at 21 s, so
//    a connection that ever gets through has connected by 9 s; the bound
//    leaves it some 10 s more for the server's first bytes. A line on which
//    none of 2 to 16 connections delivers a byte for that long measures 0,
//    and the window learns so instead of waiting for ever. The same run of
//    silence in the middle of a phase (every server stalled) ends it too.
//  - an empty interval after every worker has ended: no byte can come any
//    more (every server refused or closed), so the phase ends at once.
// In both cases the final figure is the trimmed mean of the samples taken so
// far: 0 when there were none.
class DownloadSampler {
 public:
  static constexpr int kMaxEmptyIntervals = 20;

  struct Step {
    bool postSample = false;  // post WM_USER with delta
    uint32_t delta = 0;
    bool finish = false;  // signal the stop, post WM_USER+1 with Final()
  };

  explicit DownloadSampler(int32_t sampleBudget, int maxEmptyIntervals = kMaxEmptyIntervals)
      : budget_(sampleBudget), maxEmpty_(maxEmptyIntervals) {}

  // One pass: total is the 32-bit sum of the counters (it wraps; the delta
  // is taken modulo 2^32, so a counter passing 4 GiB does no harm);
  // allWorkersEnded tells whether every worker of the phase has ended.
  Step Pass(uint32_t total, bool allWorkersEnded);
  int32_t Final() const { return TrimmedMeanSpeed(samples_, count_); }

  int32_t count() const { return count_; }
  const int32_t* samples() const { return samples_; }
  int32_t remainingBudget() const { return budget_; }

 private:
  int32_t samples_[kSpeedSampleCapacity] = {};  // SpeedSamples
  int32_t count_ = 0;
  uint32_t previous_ = 0;
  int32_t budget_;
  int maxEmpty_;
  int emptyRun_ = 0;
};

// The upload monitor's running mean in bytes per second: sum / elapsed with
// the remainder dropped, then × 1000; an elapsed time of 0 keeps the
// previous rate. The counters are added in 64 bits, not 32: twelve connections
// on a fast line (the lab on loopback) send more than 4 GiB in a phase, so
// a 32-bit sum would wrap, and a rate beyond 32 bits saturates. Where the
// 32-bit sum does not wrap the result is the same.
uint32_t UploadRate(uint64_t sumBytes, uint32_t elapsedMs, uint32_t previousRate);

// The upload monitor's sample count: n starts at the remaining budget, one
// sample per pass, the last when n drops to 0 or below (15 samples for a
// budget of 15; 1 for a budget of 0 or less).
//
// A head start left out. The workers count a byte when send accepts it, and
// a fresh connection's socket accepts far more than the line carries in its
// first seconds: the send buffers fill at memory speed and keep growing for
// a second or two. On a shaped 4 Mbit/s line the mean since the monitor's
// start ends 17 % above what the line carried, on 20 Mbit/s 7 %, on
// 100 Mbit/s 1-2 %, on 1000 Mbit/s less than 1 % (lab/bench-accuracy,
// docs/accuracy.md). So from the pass after kBasePass (the third pass, about
// two seconds in) the sampler also takes the steady mean: bytes accepted
// since kBasePass over the time since then, when the buffers are full and
// stay full. The figure stays the mean since the start, as the window has
// always shown it, unless that mean is more than kHeadStartPercent above the
// steady one: then the head start is the larger part of the excess and the
// steady mean is reported instead. A line the client fills at once (or more
// slowly than at the end, as in a slow start) keeps its figure exactly.
class UploadSampler {
 public:
  // The pass whose sum and time are the base of the steady mean (0-based).
  static constexpr int kBasePass = 2;
  // How far the mean since the start may run above the steady mean.
  static constexpr uint32_t kHeadStartPercent = 5;

  explicit UploadSampler(int32_t sampleBudget) : n_(sampleBudget) {}
  struct Step {
    uint32_t rate = 0;    // post WM_USER+2 with it
    bool finish = false;  // then signal the stop and post WM_USER+3 with rate
  };
  Step Pass(uint64_t sumBytes, uint32_t elapsedMs);
  uint32_t rate() const { return rate_; }

 private:
  int32_t n_;
  uint32_t rate_ = 0;
  int passes_ = 0;
  uint64_t baseBytes_ = 0;
  uint32_t baseMs_ = 0;
};

}  // namespace vt
