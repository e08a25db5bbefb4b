// RouteTraceThread and TroubleTraceThread against replayed tracert outputs
// (vt-replay as tracert.exe in the current folder) and against the lab's
// tracert stand-in on loopback.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Messages.h"
#include "engines/trace/RouteTraceThread_win.h"
#include "engines/trouble/TroubleTraceThread_win.h"
#include "tests/support/CommandDouble.h"
#include "tests/support/MessageCollector.h"

namespace {

struct Hop {
  std::string address;
  LPARAM delay;
  bool operator==(const Hop& o) const { return address == o.address && delay == o.delay; }
};

struct TraceRun {
  long exitCode;
  std::vector<Hop> hops;
  std::vector<std::string> done;  // joined addresses of each MSG_TRACE_DONE
};

TraceRun Trace(const char* target) {
  MessageCollector collector({vt::MSG_TRACE_HOP, vt::MSG_TRACE_DONE});
  vt::TraceRequest request;
  request.window = collector.hwnd();
  request.target = target;
  TraceRun run;
  run.exitCode = RunEngineThread(collector, vt::RouteTraceThread, &request, 60000);
  for (const CollectedMessage& m : collector.messages()) {
    if (m.message == vt::MSG_TRACE_HOP) run.hops.push_back({m.text, m.lParam});
    if (m.message == vt::MSG_TRACE_DONE) run.done.push_back(m.text);
  }
  return run;
}

TEST(RouteTraceThread, ChineseTraceArrivingByteByByte) {
  CommandDouble tracert("tracert", TestDataPath("tracert/zh_ten_hops.txt"), 1);
  ASSERT_TRUE(tracert.ready());
  TraceRun run = Trace("198.51.100.10");
  EXPECT_EQ(run.exitCode, 0);
  std::vector<Hop> expected = {{"192.168.1.1", 1},   {"10.10.0.1", 1},    {"请求超时", -1},
                               {"172.20.3.4", 6},    {"172.32.0.1", 8},   {"198.51.100.6", 17},
                               {"198.51.100.7", 20}, {"198.51.100.8", 29}, {"198.51.100.9", 36},
                               {"198.51.100.10", 31}};
  EXPECT_EQ(run.hops, expected);
  ASSERT_EQ(run.done.size(), 1u);
  EXPECT_EQ(run.done[0],
            "192.168.1.1|10.10.0.1|请求超时|172.20.3.4|172.32.0.1|198.51.100.6|198.51.100.7|198.51.100.8|"
            "198.51.100.9|198.51.100.10|");
  EXPECT_EQ(tracert.CommandLineSeen(), "tracert -d -w 800 198.51.100.10");
}

TEST(RouteTraceThread, OverLongLinesAndNoHopSection) {
  {
    CommandDouble tracert("tracert", TestDataPath("tracert/en_long_lines.txt"));
    TraceRun run = Trace("198.51.100.10");
    ASSERT_EQ(run.hops.size(), 4u);
    EXPECT_EQ(run.hops[1], (Hop{std::string(63, 'a'), 13}));
    EXPECT_EQ(run.hops[2], (Hop{"请求超时", -1}));
  }
  {
    CommandDouble tracert("tracert", TestDataPath("tracert/zh_unresolved.txt"));
    TraceRun run = Trace("nosuch.invalid");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.hops.empty());
    EXPECT_EQ(run.done, (std::vector<std::string>{""}));
  }
}

TEST(RouteTraceThread, UnusableTargetRunsNothing) {
  CommandDouble tracert("tracert", TestDataPath("tracert/en_five_hops.txt"));
  for (const char* target : {"", "198.51.100.10 -h 200", "/?"}) {
    TraceRun run = Trace(target);
    EXPECT_EQ(run.exitCode, 1) << target;
    EXPECT_TRUE(run.hops.empty() && run.done.empty()) << target;
  }
  EXPECT_EQ(tracert.CommandLineSeen(), "");
}

// A command that cannot start still ends the page: one MSG_TRACE_FAILED,
// no hop and no MSG_TRACE_DONE.
TEST(RouteTraceThread, CommandThatCannotStartSendsOnlyItsFailure) {
  MessageCollector collector({vt::MSG_TRACE_HOP, vt::MSG_TRACE_DONE, vt::MSG_TRACE_FAILED});
  vt::RunTrace(collector.hwnd(), "vt-no-such-command -d -w 800 198.51.100.10");
  collector.WaitFor([] { return false; }, 100);
  ASSERT_EQ(collector.messages().size(), 1u);
  EXPECT_EQ(collector.messages()[0].message, vt::MSG_TRACE_FAILED);
}

struct TroubleRun {
  long exitCode;
  std::vector<std::pair<WPARAM, LPARAM>> codes;
};

TroubleRun Diagnose(vt::TraceRequest& request, MessageCollector& collector) {
  TroubleRun run;
  run.exitCode = RunEngineThread(collector, vt::TroubleTraceThread, &request, 60000);
  collector.WaitFor([] { return false; }, 100);  // TR_DONE is posted
  for (const CollectedMessage& m : collector.messages())
    if (m.message == vt::MSG_TROUBLE_RESULT) run.codes.push_back({m.wParam, m.lParam});
  return run;
}

TEST(TroubleTraceThread, ReportsBothSidesThenTheEnd) {
  CommandDouble tracert("tracert", TestDataPath("tracert/en_five_hops.txt"));
  ASSERT_TRUE(tracert.ready());
  MessageCollector collector;
  vt::TraceRequest request;
  request.window = collector.hwnd();
  request.publicIp = "203.0.113.45";
  request.target = "198.51.100.10";
  TroubleRun run = Diagnose(request, collector);
  EXPECT_EQ(run.exitCode, 0);
  using Code = std::pair<WPARAM, LPARAM>;
  EXPECT_EQ(run.codes, (std::vector<Code>{{vt::TR_WAN_DELAY, 22}, {vt::TR_LAN_DELAY, 4}, {vt::TR_WAN_HOPS, 3},
                                          {vt::TR_LAN_HOPS, 2}, {vt::TR_DONE, 0}}));
  EXPECT_STREQ(request.traceDelay.GetData(), "1|3|10|-1|12|");
  EXPECT_STREQ(request.traceHoops.GetData(), "192.168.1.1|203.0.113.1|198.51.100.1|请求超时|198.51.100.10|");
  EXPECT_EQ(request.reachedPublic, 1);
  EXPECT_EQ(request.hoopsLAN, 2);
  EXPECT_EQ(request.delayWAN, 22);
  EXPECT_GT(request.output.GetLength(), 300u);
  EXPECT_EQ(tracert.CommandLineSeen(), "tracert -d -w 800 -h 20 198.51.100.10");
}

// No route to analyse: only the failure, so the page can end.
TEST(TroubleTraceThread, OutputWithoutHopSectionEndsAsFailed) {
  CommandDouble tracert("tracert", TestDataPath("tracert/zh_unresolved.txt"));
  MessageCollector collector;
  vt::TraceRequest request;
  request.window = collector.hwnd();
  request.publicIp = "203.0.113.45";
  request.target = "nosuch.invalid";
  TroubleRun run = Diagnose(request, collector);
  using Code = std::pair<WPARAM, LPARAM>;
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.codes, (std::vector<Code>{{vt::TR_FAILED, 0}}));
  EXPECT_STREQ(request.output.GetData(), "无法解析目标系统名称 nosuch.invalid。\r\n");
  EXPECT_TRUE(request.traceHoops.IsEmpty());
  // A target that is not a plain host runs nothing and ends the same way.
  request.target = "198.51.100.10 -h 200";
  collector.Clear();
  run = Diagnose(request, collector);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.codes, (std::vector<Code>{{vt::TR_FAILED, 0}}));
  EXPECT_TRUE(request.output.IsEmpty());
  EXPECT_EQ(RunEngineThread(collector, vt::TroubleTraceThread, nullptr, 5000), 1);
}

TEST(TroubleTraceThread, NoHopLinesReportsTheFiguresAsTheyStand) {
  CommandDouble tracert("tracert", TestDataPath("tracert/en_no_hops.txt"));
  MessageCollector collector;
  vt::TraceRequest request;
  request.window = collector.hwnd();
  request.publicIp = "203.0.113.45";
  request.target = "198.51.100.10";
  TroubleRun run = Diagnose(request, collector);
  EXPECT_EQ(run.exitCode, 0);
  using Code = std::pair<WPARAM, LPARAM>;
  EXPECT_EQ(run.codes, (std::vector<Code>{{vt::TR_WAN_DELAY, 0}, {vt::TR_LAN_DELAY, 0}, {vt::TR_WAN_HOPS, 0},
                                          {vt::TR_LAN_HOPS, 0}, {vt::TR_DONE, 0}}));
}

// The lab's tracert stand-in, really sending ICMP echo requests with rising
// TTL: on loopback the target answers the first one.
TEST(TracertStandIn, TracesLoopbackInOneHop) {
  CommandDouble tracert(CommandDouble::Program{}, "tracert", TestExeFolder() + "..\\lab\\vt-tracert.exe");
  ASSERT_TRUE(tracert.ready());
  TraceRun run = Trace("127.0.80.1");
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.hops.size(), 1u);
  EXPECT_EQ(run.hops[0].address, "127.0.80.1");
  EXPECT_GE(run.hops[0].delay, 1);
  EXPECT_EQ(run.done, (std::vector<std::string>{"127.0.80.1|"}));

  MessageCollector collector;
  vt::TraceRequest request;
  request.window = collector.hwnd();
  request.publicIp = "127.0.80.200";
  request.target = "127.0.80.1";
  TroubleRun trouble = Diagnose(request, collector);
  EXPECT_EQ(trouble.exitCode, 0);
  EXPECT_EQ(request.reachedPublic, 1);
  EXPECT_EQ(request.hoopsLAN, 1);
  EXPECT_EQ(request.hoopsWAN, 0);
  EXPECT_STREQ(request.traceHoops.GetData(), "127.0.80.1|");
}

}  // namespace
