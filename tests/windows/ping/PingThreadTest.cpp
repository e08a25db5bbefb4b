// PingThread against replayed ping outputs (vt-replay as ping.exe in the
// current folder) and against Wine's own ping on loopback.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "base/Messages.h"
#include "engines/ping/PingThread_win.h"
#include "tests/support/CommandDouble.h"
#include "tests/support/MessageCollector.h"

namespace {

struct PingRun {
  long exitCode;
  int32_t avgDelay;
  std::vector<WPARAM> replies;
  std::vector<WPARAM> done;
};

PingRun Ping(const char* host, DWORD timeoutMs = 60000) {
  MessageCollector collector;
  vt::PingRequest request;
  request.window = collector.hwnd();
  request.host = host;
  request.avgDelay = 12345;
  PingRun run;
  run.exitCode = RunEngineThread(collector, vt::PingThread, &request, timeoutMs);
  run.avgDelay = request.avgDelay;
  for (const CollectedMessage& m : collector.messages()) {
    if (m.message == vt::MSG_PING_REPLY) run.replies.push_back(m.wParam);
    if (m.message == vt::MSG_PING_DONE) run.done.push_back(m.wParam);
  }
  return run;
}

TEST(PingThread, EnglishRepliesAndTheirMean) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"));
  ASSERT_TRUE(ping.ready());
  PingRun run = Ping("198.51.100.10");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.replies, (std::vector<WPARAM>{10, 11, 13, 1, 12, 9}));
  EXPECT_EQ(run.done, (std::vector<WPARAM>{9}));
  EXPECT_EQ(run.avgDelay, 9);
  EXPECT_EQ(ping.CommandLineSeen(), "ping 198.51.100.10 -n 8");
}

TEST(PingThread, ChineseOutputArrivingByteByByte) {
  CommandDouble ping("ping", TestDataPath("ping/zh_mixed.txt"), 1);
  ASSERT_TRUE(ping.ready());
  PingRun run = Ping("198.51.100.10");
  EXPECT_EQ(run.replies, (std::vector<WPARAM>{23, 1, 30, 25, 24, 22, 21}));
  EXPECT_EQ(run.done, (std::vector<WPARAM>{20}));
  EXPECT_EQ(run.avgDelay, 20);
}

TEST(PingThread, NoReplyEndsWithMeanZero) {
  CommandDouble ping("ping", TestDataPath("ping/zh_all_timeout.txt"));
  ASSERT_TRUE(ping.ready());
  PingRun run = Ping("198.51.100.10");
  EXPECT_TRUE(run.replies.empty());
  EXPECT_EQ(run.done, (std::vector<WPARAM>{0}));
  EXPECT_EQ(run.avgDelay, 0);
}

TEST(PingThread, WithoutAWindowTheMeanIsStillWritten) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"));
  ASSERT_TRUE(ping.ready());
  MessageCollector collector;
  vt::PingRequest request;
  request.host = "198.51.100.10";
  EXPECT_EQ(RunEngineThread(collector, vt::PingThread, &request, 60000), 0);
  EXPECT_EQ(request.avgDelay, 9);
  EXPECT_TRUE(collector.messages().empty());
}

TEST(PingThread, UnusableHostRunsNothing) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"));
  ASSERT_TRUE(ping.ready());
  for (const char* host : {"", "198.51.100.10 -t", "-t", "198.51.100.10&calc"}) {
    PingRun run = Ping(host);
    EXPECT_EQ(run.exitCode, 1) << host;
    EXPECT_EQ(run.avgDelay, 12345) << host;
    EXPECT_TRUE(run.replies.empty() && run.done.empty()) << host;
  }
  EXPECT_EQ(ping.CommandLineSeen(), "");  // never started
  MessageCollector collector;
  EXPECT_EQ(RunEngineThread(collector, vt::PingThread, nullptr, 5000), 1);
}

TEST(PingThread, CommandThatCannotStartSendsNothing) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"));  // an empty current folder but for ping.exe
  MessageCollector collector;
  EXPECT_EQ(vt::RunPing("vt-no-such-command 198.51.100.10 -n 8"), -2);
  collector.WaitFor([] { return false; }, 100);
  EXPECT_TRUE(collector.messages().empty());
}

// Wine's own ping (the double is not in place): eight echo requests to
// loopback, answered in under a millisecond ("time<1ms"), so 1 ms each.
TEST(PingThread, WinePingOnLoopback) {
  PingRun run = Ping("127.0.0.1", 60000);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.replies.size(), 8u);
  ASSERT_EQ(run.done.size(), 1u);
  EXPECT_GE(run.done[0], 1u);
  EXPECT_EQ(run.avgDelay, static_cast<int32_t>(run.done[0]));
}

}  // namespace
