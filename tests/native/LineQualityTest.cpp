// Line quality figures from echo probes: delays per phase, delay variation,
// loss and its longest run, and the probe log's one-outcome rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/LineQualityJson.h"
#include "engines/quality/LineQuality.h"

namespace {

using vt::Probe;
using vt::ProbePhase;

Probe Answered(double ms, ProbePhase phase = ProbePhase::Idle) {
  Probe p;
  p.phase = phase;
  p.answered = true;
  p.rttUs = static_cast<uint32_t>(ms * 1000.0 + 0.5);
  return p;
}

Probe Missed(ProbePhase phase = ProbePhase::Idle) {
  Probe p;
  p.phase = phase;
  return p;
}

// 'a' an answered probe (1 ms), 'L' a lost one.
std::vector<Probe> Pattern(const std::string& s) {
  std::vector<Probe> v;
  for (char c : s) v.push_back(c == 'a' ? Answered(1.0) : Missed());
  return v;
}

TEST(LineQuality, MedianAndNinetiethPercentile) {
  struct Case {
    std::vector<double> ms;
    uint32_t count;
    double median, p90;
  } cases[] = {
      {{}, 0, 0.0, 0.0},
      {{10}, 1, 10.0, 10.0},
      {{20, 10}, 2, 15.0, 20.0},                           // even: mean of the middle two
      {{30, 10, 20}, 3, 20.0, 30.0},                       // ceil(2.7) = 3rd
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10, 5.5, 9.0},     // ceil(9.0) = 9th
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 11, 6.0, 10.0},  // ceil(9.9) = 10th
      {{0.25, 0.5, 0.75}, 3, 0.5, 0.75},                   // below a millisecond
  };
  for (const Case& c : cases) {
    std::vector<Probe> probes;
    for (double ms : c.ms) probes.push_back(Answered(ms));
    probes.push_back(Missed());  // a loss has no delay
    vt::LineQuality q = vt::ComputeLineQuality(probes);
    EXPECT_EQ(q.idle.count, c.count) << c.ms.size();
    EXPECT_DOUBLE_EQ(q.idle.medianMs, c.median) << c.ms.size();
    EXPECT_DOUBLE_EQ(q.idle.p90Ms, c.p90) << c.ms.size();
  }
}

TEST(LineQuality, LoadedDelayPerPhaseAndItsDifferenceFromIdle) {
  std::vector<Probe> probes = {
      Answered(20, ProbePhase::Idle),     Answered(22, ProbePhase::Idle),     Answered(21, ProbePhase::Idle),
      Answered(60, ProbePhase::Download), Answered(45, ProbePhase::Download), Answered(50, ProbePhase::Download),
      Answered(90, ProbePhase::Other),    Answered(25, ProbePhase::Upload),
  };
  vt::LineQuality q = vt::ComputeLineQuality(probes);
  EXPECT_DOUBLE_EQ(q.idle.medianMs, 21.0);
  EXPECT_DOUBLE_EQ(q.download.medianMs, 50.0);
  EXPECT_DOUBLE_EQ(q.download.p90Ms, 60.0);
  EXPECT_DOUBLE_EQ(q.downloadAddedMs, 29.0);
  EXPECT_DOUBLE_EQ(q.upload.medianMs, 25.0);
  EXPECT_DOUBLE_EQ(q.uploadAddedMs, 4.0);

  // Without idle replies there is nothing to compare with.
  vt::LineQuality noIdle = vt::ComputeLineQuality({Missed(), Answered(50, ProbePhase::Download)});
  EXPECT_EQ(noIdle.download.count, 1u);
  EXPECT_DOUBLE_EQ(noIdle.downloadAddedMs, 0.0);
}

TEST(LineQuality, JitterIsTheMeanDifferenceOfConsecutiveIdleDelays) {
  const ProbePhase I = ProbePhase::Idle, D = ProbePhase::Download;
  struct Case {
    const char* name;
    std::vector<Probe> probes;
    uint32_t pairs;
    double jitter;
  } cases[] = {
      {"steady", {Answered(20), Answered(20), Answered(20)}, 2, 0.0},
      {"alternating", {Answered(20), Answered(25), Answered(20), Answered(25)}, 3, 5.0},
      {"mixed steps", {Answered(10), Answered(13), Answered(12)}, 2, 2.0},
      // A loss breaks the pair: 20 and 30 are not consecutive probes.
      {"loss between", {Answered(20), Missed(), Answered(30), Answered(31)}, 1, 1.0},
      // Loaded probes do not count, nor pairs that cross into them.
      {"loaded", {Answered(20, I), Answered(80, D), Answered(70, D), Answered(22, I), Answered(24, I)}, 1, 2.0},
      {"one probe", {Answered(20)}, 0, 0.0},
  };
  for (const Case& c : cases) {
    vt::LineQuality q = vt::ComputeLineQuality(c.probes);
    EXPECT_EQ(q.jitterPairs, c.pairs) << c.name;
    EXPECT_DOUBLE_EQ(q.idleJitterMs, c.jitter) << c.name;
  }
}

TEST(LineQuality, LossRatioCountAndLongestRun) {
  struct Case {
    std::string pattern;
    uint32_t lost, longest;
    const char* text;
  } cases[] = {
      {"", 0, 0, "0.00% of 0"},
      {"aaaa", 0, 0, "0.00% of 4"},
      {"LLLL", 4, 4, "100.00% of 4"},
      {"aLLaLLLa", 5, 3, "62.50% of 8"},
      {"LaaaaaaL", 2, 1, "25.00% of 8"},
      {std::string(1731, 'a') + "L", 1, 1, "0.06% of 1,732"},
      {std::string(999, 'a') + "L", 1, 1, "0.10% of 1,000"},
  };
  for (const Case& c : cases) {
    vt::LineQuality q = vt::ComputeLineQuality(Pattern(c.pattern));
    EXPECT_EQ(q.sent, c.pattern.size());
    EXPECT_EQ(q.lost, c.lost) << c.text;
    EXPECT_EQ(q.longestLossRun, c.longest) << c.text;
    EXPECT_EQ(vt::LossText(q), c.text);
  }
}

TEST(ProbeLog, EachProbeHasOneOutcome) {
  vt::ProbeLog log(1000000);  // 1 s time-out
  uint32_t seq[6];
  for (uint32_t& s : seq) ASSERT_TRUE(log.Open(ProbePhase::Upload, &s));
  EXPECT_EQ(seq[0], 0u);
  EXPECT_EQ(seq[5], 5u);
  log.Replied(seq[0], 1000000);  // at the time-out: answered
  log.Replied(seq[1], 1000001);  // after it: lost
  log.Lost(seq[2]);              // given up ...
  log.Replied(seq[2], 1500000);  // ... and its late reply is not counted again
  log.Replied(seq[3], 3000);
  log.Lost(seq[3]);        // a second outcome is ignored
  log.Replied(99, 1000);   // not a probe of this log
  // seq[4] and seq[5] still open: left out.
  log.Replied(seq[5], 2000);

  std::vector<Probe> closed = log.Closed();
  ASSERT_EQ(closed.size(), 5u);
  vt::LineQuality q = vt::ComputeLineQuality(closed);
  EXPECT_EQ(q.sent, 5u);
  EXPECT_EQ(q.lost, 2u);
  EXPECT_EQ(q.longestLossRun, 2u);
  EXPECT_EQ(q.upload.count, 3u);
  EXPECT_DOUBLE_EQ(q.upload.medianMs, 3.0);
  EXPECT_DOUBLE_EQ(q.upload.p90Ms, 1000.0);
}

TEST(ProbeLog, StopsAtItsBound) {
  vt::ProbeLog log;
  uint32_t seq = 0;
  for (size_t i = 0; i < vt::ProbeLog::kMaxProbes; ++i) ASSERT_TRUE(log.Open(ProbePhase::Idle, &seq));
  EXPECT_EQ(seq, vt::ProbeLog::kMaxProbes - 1);
  EXPECT_FALSE(log.Open(ProbePhase::Idle, &seq));
  EXPECT_EQ(log.size(), vt::ProbeLog::kMaxProbes);
}

TEST(LineQuality, Texts) {
  EXPECT_EQ(vt::DelayText(20.04), "20.0ms");
  EXPECT_EQ(vt::DelayText(0.26), "0.3ms");
  EXPECT_EQ(vt::DelayText(125.0), "125.0ms");
  vt::LineQuality q;
  q.sent = 1234567;
  q.lossPercent = 0.005;
  EXPECT_EQ(vt::LossText(q), "0.01% of 1,234,567");
  q.sent = 4294967295u;
  EXPECT_EQ(vt::LossText(q), "0.01% of 4,294,967,295");
}

TEST(LineQuality, ConsoleObject) {
  const ProbePhase D = ProbePhase::Download, U = ProbePhase::Upload;
  vt::LineQuality q = vt::ComputeLineQuality(
      {Answered(20), Answered(22), Missed(), Answered(45, D), Answered(31, U), Missed(U), Missed(U)});
  EXPECT_EQ(vt::LineQualityJson(q, 0.25),
            "{\"probes\":7,\"probes_per_second\":28.0,\"lost\":3,\"loss_percent\":42.857,"
            "\"loss\":\"42.86% of 7\",\"longest_loss_run\":2,"
            "\"idle_probes\":2,\"idle_median_ms\":21.00,\"idle_p90_ms\":22.00,\"idle_jitter_ms\":2.00,"
            "\"download_probes\":1,\"download_median_ms\":45.00,\"download_p90_ms\":45.00,"
            "\"download_added_ms\":24.00,"
            "\"upload_probes\":1,\"upload_median_ms\":31.00,\"upload_p90_ms\":31.00,\"upload_added_ms\":10.00}");
  EXPECT_EQ(vt::LineQualityLine(q),
            "idle 21.0ms (p90 22.0ms), jitter 2.0ms, download +24.0ms, upload +10.0ms, loss 42.86% of 7");
  vt::LineQuality quieter = vt::ComputeLineQuality({Answered(20), Answered(19.5, U)});
  EXPECT_EQ(vt::LineQualityLine(quieter), "idle 20.0ms (p90 20.0ms), jitter 0.0ms, upload -0.5ms, loss 0.00% of 2");
  // Without a duration the rate is left out.
  EXPECT_EQ(vt::LineQualityJson(vt::LineQuality{}, 0.0).rfind("{\"probes\":0,\"lost\":0,", 0), 0u);
}

}  // namespace
