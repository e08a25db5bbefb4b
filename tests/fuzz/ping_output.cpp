// Fuzz target: ping's console output. Every line is evaluated on its own
// (EvaluatePingLine) and the whole output goes through PingOutputParser;
// the parser's count and sum must agree with the lines evaluated one by one
// (only the first kLineLimit bytes of a line count, a last line without a
// line feed never does).
#include <climits>
#include <cstddef>
#include <cstdint>

#include "engines/ping/PingParser.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  vt::PingOutputParser parser;
  int64_t replies = 0, sum = 0;
  size_t lineStart = 0;
  for (size_t i = 0; i < size; ++i) {
    int32_t fed = parser.Feed(text[i]);
    if (text[i] != '\n') {
      FUZZ_CHECK(fed == 0);
      continue;
    }
    size_t kept = i + 1 - lineStart;
    if (kept > vt::PingOutputParser::kLineLimit) kept = vt::PingOutputParser::kLineLimit;
    int32_t value = vt::EvaluatePingLine(text + lineStart, kept);
    if (value > 0) {
      FUZZ_CHECK(fed == value);
      ++replies;
      sum += value;
    } else {
      FUZZ_CHECK(fed == 0);
    }
    lineStart = i + 1;
  }
  FUZZ_CHECK(parser.replies() == replies);
  FUZZ_CHECK(parser.sum() == (sum > INT32_MAX ? INT32_MAX : sum));
  FUZZ_CHECK(parser.Mean() >= 0);
  // The whole buffer as one line: the search must stay inside it.
  vt::EvaluatePingLine(text, size);
  return 0;
}
