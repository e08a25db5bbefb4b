// Fuzz target: the LAN/WAN walk over a whole 20-hop trace output. The first
// line of the input (up to its line feed) is the public address the
// platform saw; the rest is the output. The figures must stay consistent:
// no more hops walked than CountHoops allows, both hop strings have one "|"
// per hop walked, the counters start from zero and stay non-negative where
// they count.
// fuzz-options: -max_len=16384
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/Log.h"
#include "engines/trouble/DiagnosisAnalysis.h"
#include "tests/fuzz/support/FuzzInput.h"

namespace {

size_t Bars(const CUIString& s) {
  size_t n = 0;
  for (size_t i = 0; i < s.GetLength(); ++i) n += s.GetData()[i] == '|';
  return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FILE* sink = [] {
    FILE* f = fopen("/dev/null", "w");
    vt::SetLogStream(f);
    return f;
  }();
  (void)sink;

  fuzz::Input in(data, size);
  std::string publicIp = in.Until('\n');
  std::string output = in.Rest();

  vt::DiagnosisWalk walk;
  bool walked = vt::AnalyseTraceOutput(output.data(), output.size(), publicIp.c_str(), walk);
  size_t used = output.size() < vt::kDiagnosisWorkingSize - 1 ? output.size() : vt::kDiagnosisWorkingSize - 1;
  std::string seen(output.data(), used);
  seen.resize(strnlen(seen.c_str(), seen.size()));
  if (!walked) {
    FUZZ_CHECK(vt::SkipHeader(seen.data(), seen.size()) < 0);
    FUZZ_CHECK(walk.walkedHops == 0 && walk.traceHoops.IsEmpty() && walk.traceDelay.IsEmpty());
    return 0;
  }
  int32_t limit = vt::CountHoops(seen.data(), seen.size());
  FUZZ_CHECK(walk.walkedHops >= 0);
  FUZZ_CHECK(walk.walkedHops <= (limit > 0 ? limit : 0));
  FUZZ_CHECK(Bars(walk.traceDelay) == static_cast<size_t>(walk.walkedHops));
  FUZZ_CHECK(walk.hoopsLAN >= 0 && walk.hoopsWAN >= 0 && walk.privateHops >= 0);
  FUZZ_CHECK(walk.hoopsLAN + walk.hoopsWAN <= walk.walkedHops);
  FUZZ_CHECK(walk.privateHops <= walk.walkedHops);
  FUZZ_CHECK(walk.reachedPublic == 0 || walk.reachedPublic == 1);
  if (!walk.reachedPublic) FUZZ_CHECK(walk.hoopsLAN == 0 && walk.delayLAN == walk.privateHops);

  // The address helpers on their own.
  int32_t network[3];
  if (vt::AddressNetwork(publicIp.c_str(), network))
    for (int32_t n : network) FUZZ_CHECK(n >= 0 && n <= 255);
  vt::IsPrivateAddress(publicIp.c_str());
  vt::IsInsidePublicNetwork(publicIp.c_str(), publicIp.c_str());
  return 0;
}
