#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engines/trouble/DiagnosisAnalysis.h"
#include "tests/native/FixtureFile.h"

namespace {

const char kHeader[] = "\r\nTracing route to 198.51.100.10 over a maximum of 20 hops\r\n\r\n";
const char kFooter[] = "\r\nTrace complete.\r\n";

// One hop line in Windows' columns: "<1", a time, or "*" (lost probe).
std::string Hop(int number, int ms, const char* address) {
  char line[128];
  if (ms < 0)
    snprintf(line, sizeof line, "%3d     *        *        *     Request timed out.\r\n", number);
  else
    snprintf(line, sizeof line, "%3d  %4d ms  %4d ms  %4d ms  %s \r\n", number, ms, ms, ms, address);
  return line;
}

struct Expect {
  int32_t hoopsLAN, delayLAN, hoopsWAN, delayWAN, reached;
};

void ExpectWalk(const vt::DiagnosisWalk& w, const Expect& e) {
  EXPECT_EQ(w.hoopsLAN, e.hoopsLAN);
  EXPECT_EQ(w.delayLAN, e.delayLAN);
  EXPECT_EQ(w.hoopsWAN, e.hoopsWAN);
  EXPECT_EQ(w.delayWAN, e.delayWAN);
  EXPECT_EQ(w.reachedPublic, e.reached);
}

vt::DiagnosisWalk Walk(const std::string& output, const char* publicIp) {
  vt::DiagnosisWalk walk;
  EXPECT_TRUE(vt::AnalyseTraceOutput(output.data(), output.size(), publicIp, walk));
  return walk;
}

TEST(DiagnosisAnalysis, SplitsAtTheFirstHopInThePublicNetwork) {
  vt::DiagnosisWalk w = Walk(ReadFixture("tracert/en_five_hops.txt"), "203.0.113.45");
  ExpectWalk(w, {2, 4, 3, 22, 1});
  EXPECT_STREQ(w.traceDelay.GetData(), "1|3|10|-1|12|");
  EXPECT_STREQ(w.traceHoops.GetData(), "192.168.1.1|203.0.113.1|198.51.100.1|请求超时|198.51.100.10|");
}

TEST(DiagnosisAnalysis, NoHopInThePublicNetworkMakesTheWholePathWan) {
  std::string out = std::string(kHeader) + Hop(1, 1, "10.0.0.1") + Hop(2, 2, "172.16.0.1") +
                    Hop(3, 10, "198.51.100.3") + Hop(4, 20, "198.51.100.4") + kFooter;
  // 4 hops, 33 ms, all moved to the WAN side; 2 private hops keep 1 ms each.
  ExpectWalk(Walk(out, "203.0.113.45"), {0, 2, 4, 31, 0});
}

TEST(DiagnosisAnalysis, PrivateHopsBeyondTheLanSideKeepOneMillisecondEach) {
  std::string out = std::string(kHeader) + Hop(1, 4, "203.0.113.1") + Hop(2, 5, "10.1.1.1") +
                    Hop(3, 6, "172.31.0.1") + Hop(4, 15, "198.51.100.4") + kFooter;
  ExpectWalk(Walk(out, "203.0.113.45"), {1, 2, 3, 28, 1});
}

TEST(DiagnosisAnalysis, HopWithoutReplyCountsOnlyOnTheWanSide) {
  std::string out = std::string(kHeader) + Hop(1, 1, "198.51.100.1") + Hop(2, -1, "") + Hop(3, 3, "203.0.113.1") +
                    Hop(4, -1, "") + Hop(5, 7, "198.51.100.5") + kFooter;
  vt::DiagnosisWalk w = Walk(out, "203.0.113.45");
  ExpectWalk(w, {2, 4, 2, 7, 1});
  EXPECT_STREQ(w.traceDelay.GetData(), "1|-1|3|-1|7|");
}

TEST(DiagnosisAnalysis, PublicNetworkIsTheFirstThreeNumbers) {
  // 11.2.3.4 contains the text "1.2.3" but lies outside 1.2.3.0/24.
  std::string out = std::string(kHeader) + Hop(1, 1, "11.2.3.4") + Hop(2, 2, "1.2.3.9") + Hop(3, 5, "8.8.8.8") +
                    kFooter;
  ExpectWalk(Walk(out, "1.2.3.4"), {2, 3, 1, 5, 1});
  // An empty or malformed public address matches no hop: all of it is WAN.
  for (const char* publicIp : {"", "1.2.3", "1.2.3.4.5", "a.b.c.d", "1.2.3.999", "1.2.3.4x"})
    ExpectWalk(Walk(out, publicIp), {0, 0, 3, 8, 0});
  // The platform's reply is taken whole, so a line end after it still matches.
  ExpectWalk(Walk(out, "1.2.3.4\r\n"), {2, 3, 1, 5, 1});
}

TEST(DiagnosisAnalysis, AddressClassification) {
  struct Case {
    const char* address;
    bool isPrivate;
  } cases[] = {
      {"10.0.0.1", true},      {"10.255.255.255", true}, {"172.16.0.1", true},   {"172.31.255.254", true},
      {"172.15.0.1", false},   {"172.32.0.1", false},    {"192.168.0.1", true},  {"192.169.0.1", false},
      {"100.64.0.1", false},   {"1.10.0.1", false},      {"请求超时", false},    {"", false},
      {"10.0.0", false},       {"10.0.0.1.1", false},    {"010.0.0.1", true},    {"1000.0.0.1", false},
  };
  for (const Case& c : cases) EXPECT_EQ(vt::IsPrivateAddress(c.address), c.isPrivate) << c.address;
  EXPECT_TRUE(vt::IsInsidePublicNetwork("1.2.3.200", "1.2.3.4"));
  EXPECT_FALSE(vt::IsInsidePublicNetwork("11.2.3.4", "1.2.3.4"));
  EXPECT_FALSE(vt::IsInsidePublicNetwork("1.2.33.4", "1.2.3.4"));
  EXPECT_FALSE(vt::IsInsidePublicNetwork("请求超时", ""));
}

TEST(DiagnosisAnalysis, ChineseTraceWithTrailingBlanksAndLostProbes) {
  vt::DiagnosisWalk w = Walk(ReadFixture("tracert/zh_ten_hops.txt"), "198.51.100.77");
  // LAN: 1 + 1 + 6 + 8 + 17 over five answering hops (hop 3 timed out);
  // WAN: 20 + 29 + 36 + 31. Three private hops (172.32.0.1 is public).
  ExpectWalk(w, {5, 33, 4, 116, 1});
  EXPECT_EQ(w.privateHops, 3);
  EXPECT_STREQ(w.traceDelay.GetData(), "1|1|-1|6|8|17|20|29|36|31|");
}

TEST(DiagnosisAnalysis, TwentyHopsAreWalked) {
  vt::DiagnosisWalk w = Walk(ReadFixture("tracert/en_twenty_hops.txt"), "203.0.113.45");
  EXPECT_EQ(w.walkedHops, 20);
  // LAN 1 + 2 + 4; WAN hops 4..20 at hop + 6 ms, hop 12 without reply.
  ExpectWalk(w, {3, 7, 17, 288, 1});
}

TEST(DiagnosisAnalysis, EmptyLineEndsTheWalkBeforeTheHopLimit) {
  std::string out = std::string(kHeader) + Hop(1, 1, "10.0.0.1") + Hop(2, 2, "198.51.100.2") + kFooter +
                    "\r\n\r\n\r\n\r\n";
  vt::DiagnosisWalk w = Walk(out, "198.51.100.9");
  EXPECT_EQ(w.walkedHops, 2);
}

TEST(DiagnosisAnalysis, TargetGivenByNameHasATwoLineTitle) {
  // "通过最多 20 个跃点跟踪" / "到 platform.veltrane.example [198.51.100.10] 的路由:"
  vt::DiagnosisWalk w = Walk(ReadFixture("tracert/zh_named_target.txt"), "203.0.113.45");
  EXPECT_EQ(w.walkedHops, 3);
  ExpectWalk(w, {2, 4, 1, 10, 1});
  std::string en = "\r\nTracing route to platform.veltrane.example [198.51.100.10]\r\nover a maximum of 20 hops:\r\n\r\n" +
                   Hop(1, 2, "10.0.0.1") + Hop(2, 30, "198.51.100.10") + kFooter;
  ExpectWalk(Walk(en, "203.0.113.45"), {0, 1, 2, 31, 0});
}

TEST(DiagnosisAnalysis, OutputWithoutHopSection) {
  vt::DiagnosisWalk w;
  w.hoopsLAN = 7;
  std::string unresolved = ReadFixture("tracert/zh_unresolved.txt");
  EXPECT_FALSE(vt::AnalyseTraceOutput(unresolved.data(), unresolved.size(), "1.2.3.4", w));
  EXPECT_EQ(w.hoopsLAN, 7);
  EXPECT_TRUE(w.traceHoops.IsEmpty());
  EXPECT_FALSE(vt::AnalyseTraceOutput("", 0, "1.2.3.4", w));
  // Header and closing line only: the hop limit is 0, nothing is walked.
  vt::DiagnosisWalk none = Walk(ReadFixture("tracert/en_no_hops.txt"), "1.2.3.4");
  EXPECT_EQ(none.walkedHops, 0);
  ExpectWalk(none, {0, 0, 0, 0, 0});
}

TEST(DiagnosisAnalysis, OnlyTheFirst8191BytesAreWalked) {
  std::string out = kHeader;
  for (int i = 1; out.size() < 9000; ++i) out += Hop(i, 5, "198.51.100.1");
  out += kFooter;
  vt::DiagnosisWalk w = Walk(out, "203.0.113.1");
  const size_t lineLength = Hop(1, 5, "198.51.100.1").size();
  const size_t completeHopLines = (8191 - strlen(kHeader)) / lineLength;
  // The hop limit counts the CR LF of the cut copy minus the 5 lines that
  // are not hops, though the cut copy has no closing lines.
  EXPECT_EQ(static_cast<size_t>(w.walkedHops), completeHopLines - 2);
  EXPECT_EQ(w.delayWAN, 5 * w.walkedHops);
}

TEST(DiagnosisAnalysis, CountHoopsAndSkipHeader) {
  const std::string five = ReadFixture("tracert/en_five_hops.txt");
  EXPECT_EQ(vt::CountHoops(five.data(), five.size()), 5);
  EXPECT_EQ(vt::SkipHeader(five.data(), five.size()), static_cast<long>(five.find("  1 ")));
  EXPECT_EQ(vt::SkipHeader("a\r\nb\r\n", 6), -1);
  EXPECT_EQ(vt::SkipHeader("\r\n\r\n\r\n", 6), 6);
}

}  // namespace
