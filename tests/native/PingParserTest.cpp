#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/command/CommandLine.h"
#include "engines/ping/PingParser.h"
#include "tests/native/FixtureFile.h"

namespace {

struct LineCase {
  const char* line;
  int32_t value;
};

TEST(PingParser, EvaluatesLinesByTheirMarkers) {
  const LineCase cases[] = {
      {"Reply from 1.2.3.4: bytes=32 time<1ms TTL=128\r\n", 1},
      {"来自 1.2.3.4 的回复: 字节=32 时间=23ms TTL=54\r\n", 23},
      {"来自 1.2.3.4 的回复: 字节=32 时间<1ms TTL=54\r\n", 1},
      {"Reply from 1.2.3.4: bytes=32 time=0ms TTL=128\r\n", 0},
      {"Reply from 1.2.3.4: bytes=32 time<1ms time=40ms\r\n", 1},  // "time<" decides
      {"Reply from 1.2.3.4: bytes=32 time= 7ms TTL=128\r\n", 7},   // atoi skips blanks
      {"Request timed out.\r\n", -1},
      {"请求超时。\r\n", -1},
      {"    Minimum = 0ms, Maximum = 13ms, Average = 9ms\r\n", -1},
      {"    最短 = 0ms，最长 = 30ms，平均 = 20ms\r\n", -1},
      {"Reply from 1.2.3.4: bytes=32 time=99999999999999ms\r\n", 2147483647},
  };
  for (const LineCase& c : cases) {
    std::string line = c.line;
    EXPECT_EQ(vt::EvaluatePingLine(line.data(), line.size()), c.value) << c.line;
  }
}

struct RunResult {
  std::vector<int32_t> replies;
  int32_t mean;
};

RunResult RunPing(const std::string& output, size_t chunk = 1) {
  vt::PingOutputParser parser;
  RunResult result;
  for (size_t pos = 0; pos < output.size(); pos += chunk)
    for (size_t i = pos; i < pos + chunk && i < output.size(); ++i)
      if (int32_t v = parser.Feed(output[i])) result.replies.push_back(v);
  result.mean = parser.Mean();
  return result;
}

TEST(PingParser, EnglishOutputGivesRepliesAndTruncatedMean) {
  RunResult r = RunPing(ReadFixture("ping/en_mixed.txt"));
  EXPECT_EQ(r.replies, (std::vector<int32_t>{10, 11, 13, 1, 12, 9}));
  EXPECT_EQ(r.mean, 9);  // 56 / 6
}

TEST(PingParser, ChineseOutputGivesRepliesAndTruncatedMean) {
  RunResult r = RunPing(ReadFixture("ping/zh_mixed.txt"));
  EXPECT_EQ(r.replies, (std::vector<int32_t>{23, 1, 30, 25, 24, 22, 21}));
  EXPECT_EQ(r.mean, 20);  // 146 / 7
}

TEST(PingParser, NoReplyGivesMeanZero) {
  RunResult r = RunPing(ReadFixture("ping/zh_all_timeout.txt"));
  EXPECT_TRUE(r.replies.empty());
  EXPECT_EQ(r.mean, 0);
}

TEST(PingParser, MeanOfTenElevenThirteenIsEleven) {
  RunResult r = RunPing("time=10ms\r\ntime=11ms\r\ntime=13ms\r\n");
  EXPECT_EQ(r.mean, 11);
}

TEST(PingParser, LastLineWithoutLineFeedIsNeverEvaluated) {
  RunResult r = RunPing("time=10ms\r\ntime=20ms");
  EXPECT_EQ(r.replies, (std::vector<int32_t>{10}));
}

TEST(PingParser, AnyChunkingGivesTheSameReplies) {
  const std::string output = ReadFixture("ping/zh_mixed.txt");
  const RunResult whole = RunPing(output, output.size());
  for (size_t chunk : {1u, 2u, 3u, 5u, 7u, 64u}) {
    RunResult r = RunPing(output, chunk);
    EXPECT_EQ(r.replies, whole.replies) << chunk;
    EXPECT_EQ(r.mean, whole.mean) << chunk;
  }
}

TEST(PingParser, OverLongLineIsReadFromItsFirst127Bytes) {
  // The 127 bytes kept end right after "5" in the first line and inside the
  // marker in the second.
  std::string output = std::string(121, 'x') + "time=5ms\r\n";
  output += std::string(123, 'y') + "time=50ms\r\n";
  output += std::string(5000, 'z') + "time=60ms\r\ntime=7ms\r\n";
  RunResult r = RunPing(output);
  EXPECT_EQ(r.replies, (std::vector<int32_t>{5, 7}));
}

TEST(CommandLine, HostIsPastedOnlyWhenItIsAPlainHost) {
  char line[vt::kCommandLineSize];
  EXPECT_TRUE(vt::FormatCommandLine(line, "ping %s -n 8", "127.0.80.1"));
  EXPECT_STREQ(line, "ping 127.0.80.1 -n 8");
  EXPECT_TRUE(vt::FormatCommandLine(line, "tracert -d -w 800 %s", "platform-1.example.com"));
  EXPECT_STREQ(line, "tracert -d -w 800 platform-1.example.com");
  const char* refused[] = {"", "-t", "1.2.3.4 -t", "1.2.3.4\t-l", "a&calc", "\"x\"", "/t", "a|b", "主机", nullptr};
  for (const char* host : refused) {
    EXPECT_FALSE(vt::FormatCommandLine(line, "ping %s -n 8", host)) << (host ? host : "(null)");
    EXPECT_STREQ(line, "");
  }
}

TEST(CommandLine, LongHostIsCutAt127Characters) {
  char line[vt::kCommandLineSize];
  const std::string host(300, 'h');
  EXPECT_TRUE(vt::FormatCommandLine(line, "ping %s -n 8", host.c_str()));
  EXPECT_EQ(std::string(line), "ping " + std::string(122, 'h'));
}

}  // namespace
