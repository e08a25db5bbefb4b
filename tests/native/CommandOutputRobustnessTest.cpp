// Whatever a command prints, the parsers stay inside their buffers (the
// sanitizers watch) and their results stay in range: outputs are built from
// the pieces the parsers look for, in random order and length, with GBK
// bytes, zero bytes, lone CR and LF, and lines far past 127 bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "base/Log.h"
#include "engines/ping/PingParser.h"
#include "engines/trace/HopParser.h"
#include "engines/trace/TraceOutputReader.h"
#include "engines/trouble/DiagnosisAnalysis.h"

namespace {

std::string RandomOutput(std::mt19937& rng, size_t pieces) {
  static const char* const kPieces[] = {
      " ",  "  ", "ms", " ms", "<1", "*", "\r\n", "\r", "\n", "1", "12", "999999999999", "-5", ".",
      "192.168.", "172.16.", "10.", "203.0.113.", "time=", "time<", "时间=", "时间<", "请求超时。", "毫秒",
      "\xFF", "\x81", "\xA1\xA1", "Trace complete.", "  1 ", " 10 ",
  };
  const size_t count = sizeof kPieces / sizeof kPieces[0];
  std::string out;
  for (size_t i = 0; i < pieces; ++i) {
    size_t pick = rng() % (count + 2);
    if (pick == count) {
      out.append(100 + rng() % 400, static_cast<char>('a' + rng() % 26));  // an over-long run
    } else if (pick == count + 1) {
      out.push_back('\0');
    } else {
      out += kPieces[pick];
    }
  }
  return out;
}

TEST(CommandOutputRobustness, RandomOutputsStayInRange) {
  FILE* sink = fopen("/dev/null", "w");  // the walk's diagnostic lines, thousands here
  vt::SetLogStream(sink);
  std::mt19937 rng(20261210);
  for (int round = 0; round < 300; ++round) {
    std::string output = RandomOutput(rng, 20 + rng() % 400);

    vt::PingOutputParser ping;
    for (char c : output) EXPECT_GE(ping.Feed(c), 0);
    EXPECT_GE(ping.Mean(), 0);

    vt::TraceOutputReader trace;
    for (char c : output) {
      if (!trace.Feed(c)) continue;
      const vt::HopRecord& hop = trace.hop();
      EXPECT_GT(hop.hop, 0);
      EXPECT_GE(hop.delay, -1);
      EXPECT_LT(strnlen(hop.address, sizeof hop.address), sizeof hop.address);
    }

    vt::DiagnosisWalk walk;
    if (vt::AnalyseTraceOutput(output.data(), output.size(), "203.0.113.7", walk)) {
      EXPECT_GE(walk.hoopsLAN, 0);
      EXPECT_GE(walk.hoopsWAN, 0);
      EXPECT_LE(walk.walkedHops, 8192);
      EXPECT_TRUE(walk.reachedPublic == 0 || walk.reachedPublic == 1);
    }
  }
  vt::SetLogStream(nullptr);
  if (sink) fclose(sink);
}

}  // namespace
