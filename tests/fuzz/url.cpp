// Fuzz target: ParseUrl and PortNumber (net/http, branch issue4 until it
// lands; without it the target does nothing). The URL comes from the version
// document and the server profiles. The parts are pieces of the text: put
// back together they give the text again; the host holds no ':' and, when a
// port was given, no '/'; the file name is what follows the path's last '/';
// the port number equals the C library's strtol of the text clamped to int
// and cut to 16 bits.
#include <cstddef>
#include <cstdint>
#include <string>

#if __has_include("net/http/Url.h")
#include <climits>
#include <cstdlib>

#include "net/http/Url.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // a URL is a C text
  vt::UrlParts parts = vt::ParseUrl(text.c_str());

  size_t scheme = text.find("://");
  std::string rebuilt;
  if (scheme != std::string::npos) {
    FUZZ_CHECK(parts.scheme == text.substr(0, scheme));
    rebuilt = parts.scheme + "://";
  } else {
    FUZZ_CHECK(parts.scheme == "http");
  }
  FUZZ_CHECK(parts.host.find(':') == std::string::npos);
  rebuilt += parts.host;
  std::string rest = scheme == std::string::npos ? text : text.substr(scheme + 3);
  bool hasPort = rest.find(':') != std::string::npos;
  bool hasPath = hasPort ? rest.find('/', rest.find(':')) != std::string::npos : rest.find('/') != std::string::npos;
  if (hasPort) {
    FUZZ_CHECK(parts.port.find('/') == std::string::npos);
    rebuilt += ":" + parts.port;
  } else {
    FUZZ_CHECK(parts.port == "80");
    FUZZ_CHECK(parts.host.find('/') == std::string::npos);
  }
  if (hasPath) {
    FUZZ_CHECK(!parts.path.empty() && parts.path[0] == '/');
    rebuilt += parts.path;
    size_t slash = parts.path.rfind('/');
    FUZZ_CHECK(parts.fileName == parts.path.substr(slash + 1));
  } else {
    FUZZ_CHECK(parts.path == "/" && parts.fileName.empty());
  }
  FUZZ_CHECK(rebuilt == text);

  long long wide = strtoll(parts.port.c_str(), nullptr, 10);
  if (wide > INT_MAX) wide = INT_MAX;
  if (wide < INT_MIN) wide = INT_MIN;
  uint16_t expected = static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(wide)) & 0xFFFFu);
  FUZZ_CHECK(vt::PortNumber(parts.port) == expected);
  vt::ParseUrl(static_cast<const char*>(nullptr));
  return 0;
}
#else
#include <cstdio>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) {
  static bool told = (fprintf(stderr, "url: net/http is not on this branch yet; nothing to fuzz\n"), true);
  (void)told;
  return 0;
}
#endif
