#include "base/LogFileRules.h"

#include <gtest/gtest.h>

namespace {

TEST(LogFileRules, MasksSecrets) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"Name=a&Pass=secret&Id=3", "Name=a&Pass=***&Id=3"},
      {"pass=x", "pass=***"},
      {"PASSWORD=abc def", "PASSWORD=*** def"},
      {"login pwd=\xb0\xa1\xb0\xa1;next", "login pwd=***;next"},
      {"bypass=keep", "bypass=keep"},
      {"Pass=", "Pass=***"},
      {"no secrets here", "no secrets here"},
  };
  for (const auto& c : cases) EXPECT_EQ(vt::MaskSecrets(c.in), c.out) << c.in;
}

TEST(LogFileRules, FormatsLineWithMillisecondsAndThread) {
  vt::LogClock clock{2026, 12, 1, 9, 5, 7, 42};
  EXPECT_EQ(vt::FormatLogFileLine(clock, 1234, "recv err\r\n"), "2026-12-01 09:05:07.042 [1234] recv err");
  EXPECT_EQ(vt::FormatLogFileLine(clock, 7, "GET /a?Pass=p1"), "2026-12-01 09:05:07.042 [7] GET /a?Pass=***");
  EXPECT_EQ(vt::LogFileName(2026, 1, 9), "veltrane-20260109.log");
}

TEST(LogFileRules, QueueDropsAtBoundAndCounts) {
  vt::LogQueue queue(2);
  EXPECT_TRUE(queue.Push("a"));
  EXPECT_TRUE(queue.Push("b"));
  EXPECT_FALSE(queue.Push("c"));
  EXPECT_FALSE(queue.Push("d"));
  uint64_t dropped = 0;
  auto lines = queue.TakeAll(&dropped);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(dropped, 2u);
  EXPECT_TRUE(queue.Push("e"));
  queue.TakeAll(&dropped);
  EXPECT_EQ(dropped, 0u);
}

TEST(LogFileRules, RetentionByAgeThenSize) {
  const uint64_t mb = 1024 * 1024;
  struct Case {
    std::vector<vt::LogFileEntry> files;
    int today;
    std::vector<std::string> removed;
  } cases[] = {
      // Seven days kept, across a month end; foreign names untouched.
      {{{"veltrane-20261124.log", 1},
        {"veltrane-20261125.log", 1},
        {"veltrane-20261201.log", 1},
        {"crash-1.dmp", 1}},
       20261201,
       {"veltrane-20261124.log"}},
      // Over 20 MB: the oldest go first, today's file stays even when alone too big.
      {{{"veltrane-20261209.log", 8 * mb},
        {"veltrane-20261210.log", 8 * mb},
        {"veltrane-20261211.log", 8 * mb}},
       20261211,
       {"veltrane-20261209.log"}},
      {{{"veltrane-20261210.log", 1 * mb}, {"veltrane-20261211.log", 30 * mb}},
       20261211,
       {"veltrane-20261210.log"}},
      {{{"veltrane-20261210.log", 1 * mb}, {"veltrane-20261211.log", 1 * mb}}, 20261211, {}},
      // Across a year end.
      {{{"veltrane-20261225.log", 1}, {"veltrane-20270101.log", 1}}, 20270101, {"veltrane-20261225.log"}},
  };
  for (const auto& c : cases) EXPECT_EQ(vt::LogFilesToRemove(c.files, c.today), c.removed);
}

}  // namespace

#include <cstdio>

#include "base/Log.h"

namespace {

TEST(LogFileRules, CopyStreamGetsMaskedLines) {
  FILE* sink = tmpfile();
  FILE* copy = tmpfile();
  ASSERT_TRUE(sink && copy);
  vt::SetLogStream(sink);
  vt::SetLogCopyStream(copy);
  vt::LogLine("login Name=a&Pass=hunter2");
  vt::LogFormat("recv err %d\r\n", 5);
  vt::SetLogCopyStream(nullptr);
  vt::SetLogStream(nullptr);
  char text[256] = {};
  rewind(copy);
  size_t n = fread(text, 1, sizeof text - 1, copy);
  EXPECT_EQ(std::string(text, n), "login Name=a&Pass=***\nrecv err 5\r\n");
  fclose(sink);
  fclose(copy);
}

}  // namespace
