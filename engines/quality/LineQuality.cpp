// Line quality figures from the echo probes: percentiles, delay variation
// and loss runs.
#include "engines/quality/LineQuality.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vt {

bool ProbeLog::Open(ProbePhase phase, uint32_t* seq) {
  if (probes_.size() >= kMaxProbes) return false;
  *seq = static_cast<uint32_t>(probes_.size());
  Probe p;
  p.phase = phase;
  probes_.push_back(p);
  closed_.push_back(0);
  return true;
}

void ProbeLog::Close(uint32_t seq, bool answered, uint32_t rttUs) {
  // Unknown numbers and second outcomes are dropped: a late reply to a probe
  // already given up must not count once as lost and again as answered.
  if (seq >= probes_.size() || closed_[seq]) return;
  closed_[seq] = 1;
  probes_[seq].answered = answered;
  probes_[seq].rttUs = answered ? rttUs : 0;
}

void ProbeLog::Replied(uint32_t seq, uint32_t rttUs) { Close(seq, rttUs <= timeOutUs_, rttUs); }

void ProbeLog::Lost(uint32_t seq) { Close(seq, false, 0); }

std::vector<Probe> ProbeLog::Closed() const {
  std::vector<Probe> out;
  out.reserve(probes_.size());
  for (size_t i = 0; i < probes_.size(); ++i) {
    if (closed_[i]) out.push_back(probes_[i]);
  }
  return out;
}

namespace {

DelayFigures PhaseDelays(const std::vector<Probe>& probes, ProbePhase phase) {
  std::vector<uint32_t> rtt;
  for (const Probe& p : probes) {
    if (p.answered && p.phase == phase) rtt.push_back(p.rttUs);
  }
  DelayFigures f;
  f.count = static_cast<uint32_t>(rtt.size());
  if (rtt.empty()) return f;
  std::sort(rtt.begin(), rtt.end());
  size_t n = rtt.size();
  double medianUs = n % 2 ? rtt[n / 2] : (static_cast<double>(rtt[n / 2 - 1]) + rtt[n / 2]) / 2.0;
  size_t rank = (n * 9 + 9) / 10;  // ceil(0.9 n), at least 1
  f.medianMs = medianUs / 1000.0;
  f.p90Ms = rtt[rank - 1] / 1000.0;
  return f;
}

}  // namespace

LineQuality ComputeLineQuality(const std::vector<Probe>& probes) {
  LineQuality q;
  uint32_t run = 0;
  uint64_t jitterSumUs = 0;
  for (size_t i = 0; i < probes.size(); ++i) {
    const Probe& p = probes[i];
    ++q.sent;
    if (!p.answered) {
      ++q.lost;
      q.longestLossRun = std::max(q.longestLossRun, ++run);
    } else {
      run = 0;
    }
    if (i > 0) {
      const Probe& prev = probes[i - 1];
      if (p.answered && prev.answered && p.phase == ProbePhase::Idle && prev.phase == ProbePhase::Idle) {
        jitterSumUs += p.rttUs > prev.rttUs ? p.rttUs - prev.rttUs : prev.rttUs - p.rttUs;
        ++q.jitterPairs;
      }
    }
  }
  q.lossPercent = q.sent ? 100.0 * q.lost / q.sent : 0.0;
  q.idle = PhaseDelays(probes, ProbePhase::Idle);
  q.download = PhaseDelays(probes, ProbePhase::Download);
  q.upload = PhaseDelays(probes, ProbePhase::Upload);
  if (q.idle.count && q.download.count) q.downloadAddedMs = q.download.medianMs - q.idle.medianMs;
  if (q.idle.count && q.upload.count) q.uploadAddedMs = q.upload.medianMs - q.idle.medianMs;
  q.idleJitterMs = q.jitterPairs ? jitterSumUs / 1000.0 / q.jitterPairs : 0.0;
  return q;
}

std::string GroupedCount(uint32_t n) {
  char digits[16];
  snprintf(digits, sizeof digits, "%u", n);
  // From the right: at most 10 digits and 3 commas.
  std::string grouped;
  size_t len = strlen(digits);
  for (size_t i = 0; i < len; ++i) {
    if (i > 0 && (len - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string LossText(const LineQuality& q) {
  char text[48];
  snprintf(text, sizeof text, "%.2f%% of ", q.lossPercent);
  return text + GroupedCount(q.sent);
}

std::string DelayText(double ms) {
  char text[32];
  snprintf(text, sizeof text, "%.1fms", ms);
  return text;
}

}  // namespace vt
