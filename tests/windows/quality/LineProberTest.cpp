// The background prober on loopback: its rate, the phase stamps, and that
// Stop leaves no thread of it behind, run after run.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include "engines/quality/LineProber_win.h"

namespace {

// Threads of this process now (0 when the snapshot is not available).
int OwnThreadCount() {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 t = {};
  t.dwSize = sizeof t;
  int n = 0;
  DWORD self = GetCurrentProcessId();
  for (BOOL more = Thread32First(snap, &t); more; more = Thread32Next(snap, &t)) {
    if (t.th32OwnerProcessID == self) ++n;
  }
  CloseHandle(snap);
  return n;
}

TEST(LineProber, ProbesLoopbackAtItsRateWithEachPhaseStamped) {
  vt::LineProber& prober = vt::LineProber::Instance();
  prober.SetEnabled(true);
  prober.SetPhase(vt::ProbePhase::Idle);
  ASSERT_TRUE(prober.Start("127.0.0.1"));
  EXPECT_TRUE(prober.running());
  EXPECT_FALSE(prober.Start("127.0.0.1"));  // one run at a time
  Sleep(1200);
  prober.SetPhase(vt::ProbePhase::Download);
  Sleep(800);
  prober.SetPhase(vt::ProbePhase::Upload);
  Sleep(800);
  prober.Stop();
  EXPECT_FALSE(prober.running());
  vt::LineQuality q = prober.Figures();
  // 2.8 s at 25 a second is 70 probes; a loaded machine delays single
  // probes, never the schedule.
  EXPECT_GE(q.sent, 60u);
  EXPECT_LE(q.sent, 72u);
  EXPECT_EQ(q.lost, 0u);
  EXPECT_GE(q.idle.count, 25u);
  EXPECT_GE(q.download.count, 15u);
  EXPECT_GE(q.upload.count, 15u);
  EXPECT_EQ(q.idle.count + q.download.count + q.upload.count, q.sent);
  EXPECT_LT(q.idle.medianMs, 5.0);
  EXPECT_GT(q.jitterPairs, 0u);
}

TEST(LineProber, StopJoinsEveryThreadRunAfterRun) {
  vt::LineProber& prober = vt::LineProber::Instance();
  prober.SetEnabled(true);
  int before = OwnThreadCount();
  if (before == 0) GTEST_SKIP() << "no thread snapshot on this system";
  for (int run = 0; run < 3; ++run) {
    ASSERT_TRUE(prober.Start("127.0.0.1")) << run;
    Sleep(300);
    EXPECT_GE(OwnThreadCount(), before + 33) << run;  // a scheduler and 32 senders
    ULONGLONG t0 = GetTickCount64();
    prober.Stop();
    ULONGLONG ms = GetTickCount64() - t0;
    EXPECT_LT(ms, 1500u) << run;  // loopback answers at once: no probe waits for its time-out
    EXPECT_EQ(OwnThreadCount(), before) << run;
    EXPECT_GT(prober.Figures().sent, 0u) << run;
  }
}

TEST(LineProber, RefusesAHostWithoutAnIpv4AddressAndWhenSwitchedOff) {
  vt::LineProber& prober = vt::LineProber::Instance();
  prober.SetEnabled(true);
  for (const char* host : {"", "::1", "[::1]:80", "no-such-name.invalid"}) {
    EXPECT_FALSE(prober.Start(host)) << host;
    EXPECT_FALSE(prober.running()) << host;
  }
  EXPECT_TRUE(prober.Start("127.0.0.1:80"));  // the port is dropped
  prober.Stop();
  prober.SetEnabled(false);
  EXPECT_FALSE(prober.Start("127.0.0.1"));
  EXPECT_FALSE(prober.running());
  prober.Stop();  // harmless when not running
  prober.SetEnabled(true);
}

}  // namespace
