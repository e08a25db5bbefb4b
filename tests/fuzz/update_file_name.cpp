// Fuzz target: the update's file name check and the test-number reply. A
// name that is accepted becomes a path in the temporary folder and a word of
// a command line, so it must hold only letters, digits, '.', '_' and '-',
// not start with '.', hold no "..", and be 1 to 100 bytes long.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "net/platform/PlatformReplies.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string name(reinterpret_cast<const char*>(data), size);
  const char* text = name.c_str();
  if (IsSafeUpdateFileName(text)) {
    size_t len = strlen(text);
    FUZZ_CHECK(len >= 1 && len <= 100);
    FUZZ_CHECK(text[0] != '.');
    FUZZ_CHECK(!strstr(text, ".."));
    for (size_t i = 0; i < len; ++i) {
      char c = text[i];
      FUZZ_CHECK((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                 c == '_' || c == '-');
    }
  }
  TestNumberReplyKind kind = ClassifyTestNumberReply(text);
  if (kind != TestNumberReplyKind::Granted)
    FUZZ_CHECK(strcmp(text, "NEED_UPDATE") == 0 || strcmp(text, "ACCESS_DENY") == 0);
  std::string url = BuildTestNumberUrl(text);
  FUZZ_CHECK(url.size() >= strlen(text) && url.compare(url.size() - strlen(text), std::string::npos, text) == 0);
  return 0;
}
