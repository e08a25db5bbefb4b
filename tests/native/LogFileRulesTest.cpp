#include "base/LogFileRules.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "base/Log.h"

namespace {

TEST(LogFileRules, MasksSecrets) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      // The test number query as sent: the password is its last value.
      {"http://127.0.80.1/getseq.php?v=1.0.10&User=u1&Pass=secret", "http://127.0.80.1/getseq.php?v=1.0.10&User=u1&Pass=***"},
      // Typed passwords are not encoded: '&', ' ', ';' may be part of them.
      {"Name=a&Pass=se&cr et;x", "Name=a&Pass=***"},
      {"pass=x", "pass=***"},
      {"PASSWORD=abc def", "PASSWORD=***"},
      {"login pwd=\xb0\xa1\xb0\xa1;next", "login pwd=***"},
      // Only to the line's end.
      {"Pass=1\r\nnext line", "Pass=***\r\nnext line"},
      {"a Pass=1\nb pwd=2\n", "a Pass=***\nb pwd=***\n"},
      {"bypass=keep", "bypass=keep"},
      {"Pass=", "Pass=***"},
      {"no secrets here", "no secrets here"},
  };
  for (const auto& c : cases) EXPECT_EQ(vt::MaskSecrets(c.in), c.out) << c.in;
}

TEST(LogFileRules, FormatsRecordsWithMillisecondsAndThread) {
  vt::LogClock clock{2026, 12, 1, 9, 5, 7, 42};
  struct Case {
    const char* text;
    const char* out;
  } cases[] = {
      {"recv err\r\n", "2026-12-01 09:05:07.042 [1234] recv err\r\n"},
      {"connnect failed\n", "2026-12-01 09:05:07.042 [1234] connnect failed\r\n"},
      {"WAN hoops:3 delay:4 ", "2026-12-01 09:05:07.042 [1234] WAN hoops:3 delay:4 \r\n"},
      {"GET /a?Pass=p1", "2026-12-01 09:05:07.042 [1234] GET /a?Pass=***\r\n"},
      // A command's output: a stamped line each, blank ones dropped.
      {"hop 1\r\n\r\nhop 2\r\n", "2026-12-01 09:05:07.042 [1234] hop 1\r\n2026-12-01 09:05:07.042 [1234] hop 2\r\n"},
      {"\r\n", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(vt::FormatLogRecord(clock, 1234, c.text), c.out) << c.text;
}

TEST(LogFileRules, NamesDailyFiles) {
  EXPECT_EQ(vt::LogFileName(2026, 1, 9), "veltrane-20260109.log");
  EXPECT_EQ(vt::LogFileDate("veltrane-20260109.log"), 20260109);
  for (const char* other : {"veltrane-2026019.log", "veltrane-2026010x.log", "Veltrane-20260109.log",
                            "veltrane-20260109.txt", "crash-20260109-010203-7.txt"})
    EXPECT_EQ(vt::LogFileDate(other), 0) << other;
}

TEST(LogFileRules, QueueDropsAtBoundsAndCounts) {
  vt::LogQueue queue(2, 100);
  EXPECT_TRUE(queue.Push("a"));
  EXPECT_TRUE(queue.Push("b"));
  EXPECT_FALSE(queue.Push("c"));
  EXPECT_FALSE(queue.Push("d"));
  EXPECT_FALSE(queue.TryEmpty());
  uint64_t dropped = 0;
  auto lines = queue.TakeAll(&dropped);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "b");
  EXPECT_EQ(dropped, 2u);
  EXPECT_TRUE(queue.TryEmpty());
  // The byte bound: one long line fits, a second does not.
  EXPECT_TRUE(queue.Push(std::string(60, 'x')));
  EXPECT_FALSE(queue.Push(std::string(60, 'y')));
  EXPECT_TRUE(queue.Push(std::string(40, 'z')));
  lines = queue.TakeAll(&dropped);
  EXPECT_EQ(lines.size(), 2u);
  EXPECT_EQ(dropped, 1u);
  queue.TakeAll(&dropped);
  EXPECT_EQ(dropped, 0u);
  EXPECT_EQ(vt::DroppedLinesText(7), "log: 7 lines dropped, the log writer fell behind");
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
        {"notes.txt", 1}},
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

TEST(LogFileRules, RetentionKeepsTheNewestCrashReports) {
  std::vector<vt::LogFileEntry> files;
  // Twelve reports, a year old to today: age does not matter, number does.
  for (int i = 0; i < 12; ++i) {
    char base[64];
    snprintf(base, sizeof base, "crash-2026%02d01-120000-%d", i + 1, 100 + i);
    files.push_back({std::string(base) + ".txt", 1});
    if (i != 1) files.push_back({std::string(base) + ".dmp", 1});  // one report lost its dump
  }
  files.push_back({"crash-notes.doc", 1});
  std::vector<std::string> expected = {"crash-20260101-120000-100.txt", "crash-20260101-120000-100.dmp",
                                       "crash-20260201-120000-101.txt"};
  EXPECT_EQ(vt::LogFilesToRemove(files, 20261211), expected);
}

std::string g_sunk;
void Sink(const char* text, size_t size) { g_sunk.append(text, size); }

TEST(LogFileRules, EveryLogCallReachesTheSinkWhole) {
  FILE* stream = tmpfile();
  ASSERT_TRUE(stream);
  vt::SetLogStream(stream);
  vt::SetLogSink(Sink);
  vt::LogLine("login Name=a&Pass=hunter2");
  vt::LogFormat("recv err %d\r\n", 5);
  vt::SetLogSink(nullptr);
  vt::LogLine("after");
  vt::SetLogStream(nullptr);
  // The sink masks nothing itself (its writer does); the stream is as before.
  EXPECT_EQ(g_sunk, "login Name=a&Pass=hunter2\nrecv err 5\r\n");
  char text[256] = {};
  rewind(stream);
  size_t n = fread(text, 1, sizeof text - 1, stream);
  EXPECT_EQ(std::string(text, n), "login Name=a&Pass=hunter2\nrecv err 5\r\nafter\n");
  fclose(stream);
}

}  // namespace
