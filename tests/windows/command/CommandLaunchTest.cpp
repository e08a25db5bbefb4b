// The command launch: output read to its end, the deadline that ends a
// command that does not, and the handles given back on every path.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engines/command/CommandLaunch_win.h"
#include "engines/ping/PingThread_win.h"
#include "engines/trouble/TroubleTraceThread_win.h"
#include "tests/support/CommandDouble.h"

namespace {

// Wine does not count a process's handles (GetProcessHandleCount gives 0),
// but its handle table hands out the lowest free entry first: the highest of
// 64 fresh handles rises when a handle is left open in between.
uintptr_t HandleWatermark() {
  HANDLE events[64];
  uintptr_t top = 0;
  for (HANDLE& e : events) {
    e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    top = std::max(top, reinterpret_cast<uintptr_t>(e));
  }
  for (HANDLE e : events) CloseHandle(e);
  return top;
}

TEST(CommandLaunch, CapturesTheWholeOutputBytesUnchanged) {
  CommandDouble tracert("tracert", TestDataPath("tracert/zh_ten_hops.txt"));
  ASSERT_TRUE(tracert.ready());
  CUIString output = vt::CaptureOutput("tracert -d -w 800 -h 20 198.51.100.10");
  std::string expected;
  {
    HANDLE f = CreateFileA(TestDataPath("tracert/zh_ten_hops.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got) expected.append(buffer, got);
    CloseHandle(f);
  }
  EXPECT_EQ(std::string(output.GetData(), output.GetLength()), expected);
  EXPECT_EQ(tracert.CommandLineSeen(), "tracert -d -w 800 -h 20 198.51.100.10");
}

TEST(CommandLaunch, CommandThatCannotStartGivesEmptyOutput) {
  EXPECT_TRUE(vt::CaptureOutput("vt-no-such-command -d").IsEmpty());
  vt::CommandOutput command;
  EXPECT_EQ(command.Launch("vt-no-such-command", 1000), vt::kLaunchNotStarted);
  char byte;
  EXPECT_EQ(command.Read(&byte, 1), 0u);
}

TEST(CommandLaunch, DeadlineEndsACommandThatKeepsRunning) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"), 0, 60000);
  ASSERT_TRUE(ping.ready());
  vt::CommandOutput command;
  DWORD start = GetTickCount();
  ASSERT_EQ(command.Launch("ping 198.51.100.10 -n 8", 1000), vt::kLaunchStarted);
  char buffer[256];
  size_t total = 0;
  while (DWORD got = command.Read(buffer, sizeof buffer)) total += got;
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GT(total, 0u);
  EXPECT_GE(elapsed, 900u);
  EXPECT_LT(elapsed, 20000u);
}

TEST(CommandLaunch, HandlesAreClosedOnEveryPath) {
  CommandDouble ping("ping", TestDataPath("ping/en_mixed.txt"));
  ASSERT_TRUE(ping.ready());
  EXPECT_EQ(vt::RunPing("ping 198.51.100.10 -n 8"), 9);  // warm up whatever the first launch allocates
  uintptr_t before = HandleWatermark();
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(vt::RunPing("ping 198.51.100.10 -n 8"), 9);
    EXPECT_EQ(vt::RunPing("vt-no-such-command"), -2);
    EXPECT_FALSE(vt::CaptureOutput("ping -d 198.51.100.10").IsEmpty());
  }
  // Pool threads that end meanwhile may only lower the mark.
  EXPECT_LE(HandleWatermark(), before);
  // The probe does see a handle left open.
  HANDLE leaked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_GT(HandleWatermark(), before);
  CloseHandle(leaked);
}

}  // namespace
