#include "cli/JsonOutput_win.h"

#include <cstdio>

#include "base/CodePage.h"
#include "base/CodePageDecode_win.h"

namespace vt {

void PrintJsonLine(const std::string& json) {
  std::string line = CodePageToUtf8(json, DecodeGbkPair);
  line += '\n';
  fwrite(line.data(), 1, line.size(), stdout);
  fflush(stdout);
}

}  // namespace vt
