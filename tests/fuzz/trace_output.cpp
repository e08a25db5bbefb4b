// Fuzz target: tracert output. The whole output goes through
// TraceOutputReader byte by byte; every hop line it reports is parsed again
// on its own with ParseHopLine and must give the same record. Each record's
// address is zero-ended inside its buffer, holds whole characters only, and
// the joined text is the addresses in order, each followed by "|".
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engines/trace/HopParser.h"
#include "engines/trace/TraceOutputReader.h"
#include "tests/fuzz/support/FuzzInput.h"
#include "base/CodePage.h"

namespace {

// line: the record comes from one line of the output (no line feed before
// its end), whose address is a word without blanks.
void CheckRecord(const vt::HopRecord& r, bool line) {
  size_t len = strnlen(r.address, vt::kHopAddressSize);
  FUZZ_CHECK(len < vt::kHopAddressSize);
  FUZZ_CHECK(vt::WholeCharsOfCutText(r.address, len) == len);
  FUZZ_CHECK(r.delay >= -1);
  if (r.delay == -1) FUZZ_CHECK(strcmp(r.address, vt::kHopTimeoutText) == 0);
  // The address is the last word: no blank and no line end inside it.
  if (line && r.delay >= 0) FUZZ_CHECK(!memchr(r.address, ' ', len) && !memchr(r.address, '\n', len));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  vt::TraceOutputReader reader;
  std::string joined;
  size_t lineStart = 0;
  for (size_t i = 0; i < size; ++i) {
    bool hop = reader.Feed(text[i]);
    if (text[i] != '\n') {
      FUZZ_CHECK(!hop);
      continue;
    }
    if (hop) {
      const vt::HopRecord& r = reader.hop();
      CheckRecord(r, true);
      FUZZ_CHECK(r.hop > 0);
      vt::HopRecord again = vt::ParseHopLine(text + lineStart, i + 1 - lineStart);
      FUZZ_CHECK(again.hop == r.hop && again.delay == r.delay && strcmp(again.address, r.address) == 0);
      joined += r.address;
      joined += '|';
    }
    lineStart = i + 1;
  }
  FUZZ_CHECK(joined == reader.joined().GetData());

  // The whole buffer as one line, and the helpers on a zero-ended copy.
  CheckRecord(vt::ParseHopLine(text, size), false);
  std::string copy(text, size);
  vt::HopDelay(copy.c_str());
  vt::LeadingNumber(copy.c_str());
  char* address = vt::HopAddress(copy.data());
  FUZZ_CHECK(address >= copy.data() && address <= copy.data() + strlen(copy.data()));
  return 0;
}
