#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engines/trace/HopParser.h"
#include "engines/trace/TraceOutputReader.h"
#include "tests/native/FixtureFile.h"

namespace {

struct HopCase {
  const char* line;
  int32_t hop;
  int32_t delay;
  const char* address;
};

TEST(HopParser, ParsesHopLines) {
  const HopCase cases[] = {
      {"  1    <1 ms    <1 ms    <1 ms  192.168.1.1 \r\n", 1, 1, "192.168.1.1"},
      {"  2    12 ms    14 ms    13 ms  10.0.0.1 \r\n", 2, 13, "10.0.0.1"},
      {"  3     1 ms    <1 ms    40 ms  10.0.0.2 \r\n", 3, 1, "10.0.0.2"},  // any "<1" decides
      {"  4     *        *        *     Request timed out.\r\n", 4, -1, "请求超时"},
      {"  4     *        *        *     请求超时。\r\n", 4, -1, "请求超时"},
      // lost probes among times: the mean of the times read
      {"  5    12 ms     *       13 ms  1.2.3.4 \r\n", 5, 12, "1.2.3.4"},
      {"  5     *       20 ms     *     1.2.3.5 \r\n", 5, 20, "1.2.3.5"},
      {"  5     *        *       17 ms  1.2.3.6 \r\n", 5, 17, "1.2.3.6"},
      // Chinese sub-millisecond columns
      {"  1    <1 毫秒    <1 毫秒    <1 毫秒 192.168.1.1 \r\n", 1, 1, "192.168.1.1"},
      // two-digit hop numbers keep the four-character column
      {" 10    31 ms    30 ms    32 ms  198.51.100.10 \r\n", 10, 31, "198.51.100.10"},
      {" 11    <1 ms    <1 ms    <1 ms  198.51.100.11\r\n", 11, 1, "198.51.100.11"},
      // trailing blanks, however many
      {"  6    16 ms    17 ms    18 ms  198.51.100.6    \r\n", 6, 17, "198.51.100.6"},
      {"  6    16 ms    17 ms    18 ms  198.51.100.6", 6, 17, "198.51.100.6"},
      // not hop lines
      {"\r\n", 0, -1, "请求超时"},
      {"Trace complete.\r\n", 0, -1, "请求超时"},
      {"12", 12, -1, "请求超时"},
  };
  for (const HopCase& c : cases) {
    vt::HopRecord r = vt::ParseHopLine(c.line, strlen(c.line));
    EXPECT_EQ(r.hop, c.hop) << c.line;
    EXPECT_EQ(r.delay, c.delay) << c.line;
    EXPECT_STREQ(r.address, c.address) << c.line;
  }
}

TEST(HopParser, AddressIsCutTo63BytesAndLineTo127) {
  std::string line = "  2    12 ms    14 ms    13 ms  " + std::string(200, 'a') + " \r\n";
  vt::HopRecord r = vt::ParseHopLine(line.data(), line.size());
  EXPECT_EQ(r.delay, 13);
  EXPECT_EQ(std::string(r.address), std::string(63, 'a'));
  // A time past the 127th byte is not seen.
  std::string late = "  3     *        *     " + std::string(120, ' ') + "   7 ms  1.2.3.4 \r\n";
  EXPECT_EQ(vt::ParseHopLine(late.data(), late.size()).delay, -1);
  // A double-byte character is never split by the cut: the 63rd and 64th
  // bytes of this address form one character.
  std::string gbk = "xx";
  for (int i = 0; i < 40; ++i) gbk += "\xB0\xA1";
  std::string gbkLine = "  4     5 ms     5 ms     5 ms  " + gbk + " \r\n";
  vt::HopRecord g = vt::ParseHopLine(gbkLine.data(), gbkLine.size());
  EXPECT_EQ(std::string(g.address), gbk.substr(0, 62));
}

std::vector<vt::HopRecord> ReadTrace(const std::string& output, std::string* joined = nullptr) {
  vt::TraceOutputReader reader;
  std::vector<vt::HopRecord> hops;
  for (char c : output)
    if (reader.Feed(c)) hops.push_back(reader.hop());
  if (joined) *joined = reader.joined().GetData();
  return hops;
}

TEST(TraceOutputReader, ChineseTraceGivesOneRecordPerHop) {
  std::string joined;
  auto hops = ReadTrace(ReadFixture("tracert/zh_ten_hops.txt"), &joined);
  ASSERT_EQ(hops.size(), 10u);
  const int32_t delays[] = {1, 1, -1, 6, 8, 17, 20, 29, 36, 31};
  for (size_t i = 0; i < hops.size(); ++i) {
    EXPECT_EQ(hops[i].hop, static_cast<int32_t>(i + 1));
    EXPECT_EQ(hops[i].delay, delays[i]) << i;
  }
  EXPECT_STREQ(hops[5].address, "198.51.100.6");
  EXPECT_EQ(joined,
            "192.168.1.1|10.10.0.1|请求超时|172.20.3.4|172.32.0.1|198.51.100.6|198.51.100.7|198.51.100.8|"
            "198.51.100.9|198.51.100.10|");
}

TEST(TraceOutputReader, HeaderAndClosingLinesGiveNoHop) {
  EXPECT_TRUE(ReadTrace(ReadFixture("tracert/zh_unresolved.txt")).empty());
  EXPECT_TRUE(ReadTrace(ReadFixture("tracert/en_no_hops.txt")).empty());
  EXPECT_EQ(ReadTrace(ReadFixture("tracert/zh_named_target.txt")).size(), 3u);  // a title of two lines
  std::string joined;
  auto hops = ReadTrace(ReadFixture("tracert/en_five_hops.txt"), &joined);
  ASSERT_EQ(hops.size(), 5u);
  EXPECT_EQ(joined, "192.168.1.1|203.0.113.1|198.51.100.1|请求超时|198.51.100.10|");
}

TEST(TraceOutputReader, OverLongLinesAreParsedFromTheirFirst127Bytes) {
  auto hops = ReadTrace(ReadFixture("tracert/en_long_lines.txt"));
  ASSERT_EQ(hops.size(), 4u);
  EXPECT_EQ(std::string(hops[1].address), std::string(63, 'a'));
  EXPECT_EQ(hops[2].delay, -1);
  EXPECT_STREQ(hops[3].address, "198.51.100.10");
  EXPECT_EQ(hops[3].delay, 22);
}

}  // namespace
