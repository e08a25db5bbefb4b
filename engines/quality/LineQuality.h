// What a line's service agreement promises besides bandwidth: delay at rest
// and under load, delay variation and loss, worked out from the background
// prober's echo probes. Each probe carries the phase of the certification it
// was sent in; the figures are computed here, away from the prober's thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vt {

// The part of the certification a probe was sent in.
enum class ProbePhase : uint8_t { Idle = 0, Download = 1, Upload = 2, Other = 3 };

// One echo probe. rttUs is meaningful only when answered.
struct Probe {
  ProbePhase phase = ProbePhase::Idle;
  bool answered = false;
  uint32_t rttUs = 0;
};

// The probes of one run in the order they were sent, with a hard bound.
// A probe is recorded once, when its outcome is known: a reply later than
// the time-out is a loss, and a second outcome for the same probe (a late
// reply after its time-out was recorded) is ignored.
class ProbeLog {
 public:
  // 25 probes a second for two hours; later probes are not recorded.
  static constexpr size_t kMaxProbes = 180000;

  explicit ProbeLog(uint32_t timeOutUs = 1000000) : timeOutUs_(timeOutUs) {}
  // Opens the next probe (numbered 0, 1, 2, ... in sending order) in phase
  // and gives its number; false at the bound.
  bool Open(ProbePhase phase, uint32_t* seq);
  // A reply after rttUs: answered if within the time-out, else lost.
  void Replied(uint32_t seq, uint32_t rttUs);
  // No reply, refused, unreachable or a send error: lost.
  void Lost(uint32_t seq);
  // Probes whose outcome is known, in sending order; one still open at the
  // end of the run is left out (it was neither answered nor given up).
  std::vector<Probe> Closed() const;
  size_t size() const { return probes_.size(); }

 private:
  void Close(uint32_t seq, bool answered, uint32_t rttUs);
  uint32_t timeOutUs_;
  std::vector<Probe> probes_;
  std::vector<uint8_t> closed_;
};

struct DelayFigures {
  uint32_t count = 0;     // answered probes of the phase
  double medianMs = 0.0;  // mean of the two middle values for an even count
  double p90Ms = 0.0;     // nearest rank: the ceil(0.9 n)-th smallest
};

// The figures a line's report shows; also the record kept of a run.
struct LineQuality {
  uint32_t sent = 0;  // probes with a known outcome, every phase
  uint32_t lost = 0;
  uint32_t longestLossRun = 0;  // consecutive losses in sending order
  double lossPercent = 0.0;     // lost / sent × 100 (0 when nothing was sent)
  DelayFigures idle, download, upload;
  // A loaded median less the idle median; 0 when either phase has no reply.
  double downloadAddedMs = 0.0;
  double uploadAddedMs = 0.0;
  // Mean absolute difference of the delays of consecutive idle probes, both
  // answered (RFC 3550's delay variation without its 1/16 smoothing).
  double idleJitterMs = 0.0;
  uint32_t jitterPairs = 0;
};

LineQuality ComputeLineQuality(const std::vector<Probe>& probes);

// "0.06% of 1,732": the loss with two decimals and the probe count with
// thousands separators.
std::string LossText(const LineQuality& q);
// "1,732": a count with thousands separators.
std::string GroupedCount(uint32_t n);
// "12.3ms", one decimal.
std::string DelayText(double ms);

}  // namespace vt
