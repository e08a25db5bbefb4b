// Fuzz target: the ping and tracert command lines built from a host text.
// An accepted host holds no blank, quote or other separator and does not
// start with '-', so it cannot add an option or a word; the line always fits
// its buffer and starts with the command's own words.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engines/command/CommandLine.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string host(reinterpret_cast<const char*>(data), size);
  const char* patterns[] = {"ping %s -n 8", "tracert -d -w 800 %s", "tracert -d -w 800 -h 20 %s"};
  for (const char* pattern : patterns) {
    char line[vt::kCommandLineSize];
    memset(line, 'x', sizeof line);
    bool ok = vt::FormatCommandLine(line, pattern, host.c_str());
    size_t len = strnlen(line, sizeof line);
    FUZZ_CHECK(len < sizeof line);
    if (!ok) {
      FUZZ_CHECK(len == 0);
      continue;
    }
    FUZZ_CHECK(vt::IsPlainHostText(host.c_str()));
    FUZZ_CHECK(host.c_str()[0] != '-');
    for (const char* p = host.c_str(); *p; ++p) {
      unsigned char c = static_cast<unsigned char>(*p);
      FUZZ_CHECK(c > ' ' && c < 0x7F && !strchr("\"'&|<>^()/\\,;=", c));
    }
    size_t head = strchr(pattern, '%') - pattern;
    FUZZ_CHECK(strncmp(line, pattern, head < len ? head : len) == 0);
  }
  return 0;
}
