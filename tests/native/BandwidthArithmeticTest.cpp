// TrimmedMeanSpeed, the download monitor's sampling and its end rules, the
// upload monitor's running mean, and TimedDownload's arithmetic.
#include <gtest/gtest.h>

#include <vector>

#include "engines/bandwidth/BandwidthArithmetic.h"
#include "net/http/DownloadSpeed.h"

namespace {

int32_t Trimmed(std::vector<int32_t> s) { return vt::TrimmedMeanSpeed(s.data(), static_cast<int32_t>(s.size())); }

TEST(TrimmedMeanSpeed, ThePartsExamples) {
  EXPECT_EQ(Trimmed({100, 100, 100, 1000}), 100);  // mean 325, threshold 16, 1000 dropped: 300 / 3
  EXPECT_EQ(Trimmed({1, 500, 500}), 500);           // the 1 is below the threshold
  EXPECT_EQ(Trimmed({700}), 700);
  EXPECT_EQ(Trimmed({}), 0);
  EXPECT_EQ(vt::TrimmedMeanSpeed(nullptr, 5), 0);
  int32_t one = 5;
  EXPECT_EQ(vt::TrimmedMeanSpeed(&one, -1), 0);
}

TEST(TrimmedMeanSpeed, EdgeOfTheThreshold) {
  // mean of {20, 400} = 210, threshold 10: both kept, 400 dropped → 20.
  EXPECT_EQ(Trimmed({20, 400}), 20);
  // A sample equal to the threshold is dropped: {1, 39}: mean 20, threshold 1.
  EXPECT_EQ(Trimmed({1, 39}), 39);
  // Only one kept: the result is its sum.
  EXPECT_EQ(Trimmed({0, 0, 0, 0, 90}), 90);
  // Truncating division.
  EXPECT_EQ(Trimmed({10, 11, 12, 100}), 11);  // (133 - 100) / 3 = 11
}

TEST(TrimmedMeanSpeed, SixteenSamplesOfAFastLineDoNotOverflow) {
  // 400 MB per interval (the lab on loopback): the 32-bit sum would pass 2^31.
  std::vector<int32_t> s(16, 400000000);
  s[3] = 450000000;
  EXPECT_EQ(Trimmed(s), 400000000);
  std::vector<int32_t> max(16, INT32_MAX);
  EXPECT_EQ(Trimmed(max), INT32_MAX);
}

TEST(DownloadSampler, SixteenNonEmptyIntervalsWithABudgetOf15) {
  vt::DownloadSampler s(15);
  uint32_t total = 0;
  EXPECT_FALSE(s.Pass(0, false).postSample);  // the first pass, before any worker
  int samples = 0;
  for (int i = 0; i < 40; ++i) {
    total += 1000 + i;
    vt::DownloadSampler::Step step = s.Pass(total, false);
    EXPECT_TRUE(step.postSample);
    EXPECT_EQ(step.delta, 1000u + i);
    ++samples;
    if (step.finish) break;
  }
  EXPECT_EQ(samples, 16);
  EXPECT_EQ(s.count(), 16);
  EXPECT_EQ(s.remainingBudget(), 0);
}

TEST(DownloadSampler, EmptyIntervalsPostNothingAndCostNoBudget) {
  vt::DownloadSampler s(2);
  EXPECT_TRUE(s.Pass(10, false).postSample);
  for (int i = 0; i < 5; ++i) {
    vt::DownloadSampler::Step step = s.Pass(10, false);
    EXPECT_FALSE(step.postSample);
    EXPECT_FALSE(step.finish);
  }
  EXPECT_FALSE(s.Pass(30, false).finish);
  vt::DownloadSampler::Step last = s.Pass(60, false);
  EXPECT_TRUE(last.finish);
  EXPECT_EQ(s.count(), 3);
  EXPECT_EQ(s.samples()[1], 20);
}

TEST(DownloadSampler, NoByteEverEndsAfterTwentyEmptyIntervalsWithZero) {
  vt::DownloadSampler s(15);
  int passes = 0;
  for (;;) {
    ++passes;
    vt::DownloadSampler::Step step = s.Pass(0, false);
    EXPECT_FALSE(step.postSample);
    if (step.finish) break;
    ASSERT_LT(passes, 100);
  }
  EXPECT_EQ(passes, vt::DownloadSampler::kMaxEmptyIntervals);
  EXPECT_EQ(passes, 20);
  EXPECT_EQ(s.Final(), 0);
}

TEST(DownloadSampler, AStallAfterSomeSamplesEndsWithTheirMean) {
  vt::DownloadSampler s(15, 3);
  s.Pass(100, false);
  s.Pass(200, false);
  EXPECT_FALSE(s.Pass(200, false).finish);
  EXPECT_FALSE(s.Pass(200, false).finish);
  EXPECT_TRUE(s.Pass(200, false).finish);
  EXPECT_EQ(s.Final(), 100);
  // A non-empty interval resets the run of empty ones.
  vt::DownloadSampler t(15, 3);
  t.Pass(0, false);
  t.Pass(0, false);
  t.Pass(5, false);
  EXPECT_FALSE(t.Pass(5, false).finish);
  EXPECT_FALSE(t.Pass(5, false).finish);
  EXPECT_TRUE(t.Pass(5, false).finish);
}

TEST(DownloadSampler, AllWorkersEndedEndsAtTheNextEmptyInterval) {
  vt::DownloadSampler s(15);
  // Every worker ended with bytes not yet sampled: they are sampled first.
  vt::DownloadSampler::Step step = s.Pass(500, true);
  EXPECT_TRUE(step.postSample);
  EXPECT_FALSE(step.finish);
  step = s.Pass(500, true);
  EXPECT_TRUE(step.finish);
  EXPECT_EQ(s.Final(), 500);
  vt::DownloadSampler none(15);  // every connection refused: ends at the first pass
  EXPECT_TRUE(none.Pass(0, true).finish);
  EXPECT_EQ(none.Final(), 0);
}

TEST(DownloadSampler, CountersWrapAround) {
  vt::DownloadSampler s(15);
  s.Pass(4294967000u, false);
  vt::DownloadSampler::Step step = s.Pass(704, false);  // passed 2^32
  EXPECT_EQ(step.delta, 1000u);
}

TEST(DownloadSampler, AnIntervalOfTwoGigabytesOrMoreIsKeptAsTheLargest) {
  // 2.9 GB a second (the lab on loopback): the posted sample is the bytes,
  // the stored one saturates instead of turning negative and being dropped.
  vt::DownloadSampler s(15);
  uint32_t total = 0;
  for (int i = 0; i < 16; ++i) {
    total += 2900000000u;  // modulo 2^32, as the workers' counters run
    vt::DownloadSampler::Step step = s.Pass(total, false);
    EXPECT_EQ(step.delta, 2900000000u);
  }
  ASSERT_EQ(s.count(), 16);
  for (int i = 0; i < s.count(); ++i) EXPECT_EQ(s.samples()[i], INT32_MAX);
  EXPECT_EQ(s.Final(), INT32_MAX);
}

TEST(DownloadSampler, CapacityBoundsAHugeBudget) {
  vt::DownloadSampler s(100000);
  uint32_t total = 0;
  int samples = 0;
  for (;;) {
    total += 7;
    ++samples;
    if (s.Pass(total, false).finish) break;
  }
  EXPECT_EQ(samples, vt::kSpeedSampleCapacity);
  EXPECT_EQ(s.Final(), 7);
}

TEST(UploadRate, ThePartsExamples) {
  EXPECT_EQ(vt::UploadRate(12345678, 1000, 0), 12345000u);  // remainder dropped before the product
  EXPECT_EQ(vt::UploadRate(5000, 0, 0), 0u);                // same millisecond: previous rate
  EXPECT_EQ(vt::UploadRate(5000, 0, 777), 777u);
  EXPECT_EQ(vt::UploadRate(999, 1000, 5), 0u);
  // Twelve connections past 4 GiB: summed in 64 bits.
  EXPECT_EQ(vt::UploadRate(6000000000ull, 15000, 0), 400000000u);
  EXPECT_EQ(vt::UploadRate(UINT64_MAX, 1, 0), UINT32_MAX);
}

TEST(UploadSampler, FifteenSamplesEvenWhenNothingIsSent) {
  vt::UploadSampler s(15);
  int samples = 0;
  for (;;) {
    vt::UploadSampler::Step step = s.Pass(0, 1000u * samples);
    ++samples;
    EXPECT_EQ(step.rate, 0u);
    if (step.finish) break;
  }
  EXPECT_EQ(samples, 15);
  vt::UploadSampler zero(0);
  EXPECT_TRUE(zero.Pass(0, 0).finish);
  vt::UploadSampler running(15);
  EXPECT_EQ(running.Pass(100, 0).rate, 0u);
  EXPECT_EQ(running.Pass(3000000, 1000).rate, 3000000u);
  EXPECT_EQ(running.Pass(5000000, 2000).rate, 2500000u);  // a running mean, not per interval
  EXPECT_EQ(running.rate(), 2500000u);
}

// Sums after pass 0 of a line carrying 500000 bytes a second once the send
// buffers have taken head bytes in the first seconds.
static uint32_t FinalUploadRate(uint64_t head, uint64_t perSecond) {
  vt::UploadSampler s(15);
  for (uint32_t pass = 0;; ++pass) {
    uint64_t sum = pass == 0 ? 0 : head + perSecond * pass;
    vt::UploadSampler::Step step = s.Pass(sum, 1000 * pass);
    if (step.finish) return step.rate;
  }
}

TEST(UploadSampler, AHeadStartAboveFivePercentIsLeftOut) {
  // 1.2 MB of head start: the mean since the start would be 585714 after
  // 14 s, 17 % above the line; the steady mean is the line's rate.
  EXPECT_EQ(vt::UploadRate(1200000ull + 500000ull * 14, 14000, 0), 585000u);
  EXPECT_EQ(FinalUploadRate(1200000, 500000), 500000u);
  // The first samples still show the mean since the start.
  vt::UploadSampler s(15);
  s.Pass(0, 0);
  EXPECT_EQ(s.Pass(1700000, 1000).rate, 1700000u);
  EXPECT_EQ(s.Pass(2200000, 2000).rate, 1100000u);
}

TEST(UploadSampler, AWellBehavedLineKeepsTheMeanSinceTheStart) {
  // No head start, a small one (under 5 % at the end), and a slow start
  // (the first second carries less): the mean since the start, as ever.
  EXPECT_EQ(FinalUploadRate(0, 12500000), vt::UploadRate(12500000ull * 14, 14000, 0));
  EXPECT_EQ(FinalUploadRate(300000, 500000), vt::UploadRate(300000ull + 500000ull * 14, 14000, 0));
  vt::UploadSampler slow(15);
  uint32_t rate = 0;
  for (uint32_t pass = 0;; ++pass) {
    uint64_t sum = pass <= 1 ? 100000ull * pass : 100000ull + 500000ull * (pass - 1);
    vt::UploadSampler::Step step = slow.Pass(sum, 1000 * pass);
    rate = step.rate;
    if (step.finish) break;
  }
  EXPECT_EQ(rate, vt::UploadRate(100000ull + 500000ull * 13, 14000, 0));
}

TEST(TimedDownloadResult, StoresOnlyAFinishedTransferUnderFiveSeconds) {
  vt::TimedResult r = vt::TimedDownloadResult(true, 131072, 1000.0);
  EXPECT_TRUE(r.stored);
  EXPECT_EQ(r.bytesReceived, 131072u);
  EXPECT_DOUBLE_EQ(r.speedMbps, 1.0);  // 131072 bytes in one second = 1 Mbit/s
  EXPECT_FALSE(vt::TimedDownloadResult(false, 100, 10.0).stored);    // loop skipped
  EXPECT_FALSE(vt::TimedDownloadResult(true, 100, 0.0).stored);      // no time measured
  EXPECT_FALSE(vt::TimedDownloadResult(true, 100, 5000.0).stored);   // 5000 ms or more
  EXPECT_TRUE(vt::TimedDownloadResult(true, 100, 4999.5).stored);
  // A 240 KB page within a fraction of a millisecond still has a speed.
  vt::TimedResult fast = vt::TimedDownloadResult(true, 240000, 0.25);
  EXPECT_TRUE(fast.stored);
  EXPECT_NEAR(fast.speedMbps, 240000 * 0.00762939453125 / 0.25, 1e-6);
  vt::TimedResult none = vt::TimedDownloadResult(true, 0, 100.0);
  EXPECT_TRUE(none.stored);
  EXPECT_EQ(none.speedMbps, 0.0);
}

}  // namespace
