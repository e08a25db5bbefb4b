// Fuzz target: the receive loops' reply handling (net/http ReplyReader,
// branch issue4 until it lands; without it the target does nothing). A
// reply is fed in a random chunking, as recv would cut it: HeaderEndFinder
// must find the end of the header at the first "\r\n\r\n" wherever the cuts
// fall, and TextBodyCollector must keep exactly the bytes after it, up to
// its limit, ending the exchange when the limit is passed.
// fuzz-options: -max_len=16384
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#if __has_include("net/http/ReplyReader.h")
#include "net/http/ReplyReader.h"
#include "tests/fuzz/support/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  // The first two bytes: the body limit (0 gives the product's), then the
  // length of the chunk seeds; the reply is what follows those seeds.
  size_t limit = in.Byte() * 13u;
  size_t seedLength = in.Byte();
  std::string seedBytes;
  for (size_t i = 0; i < seedLength && in.remaining() > 0; ++i) seedBytes += static_cast<char>(in.Byte());
  std::string reply = in.Rest();
  fuzz::Input seeds(reinterpret_cast<const uint8_t*>(seedBytes.data()), seedBytes.size());
  std::vector<size_t> chunks = fuzz::Chunking(reply.size(), seeds);

  size_t end = reply.find("\r\n\r\n");
  std::string expectedBody = end == std::string::npos ? std::string() : reply.substr(end + 4);
  size_t cap = limit ? limit : vt::TextBodyCollector::kDefaultLimit;

  vt::HeaderEndFinder finder;
  std::string body;
  vt::TextBodyCollector collector(body, cap);
  std::string viaFinder;
  bool stopped = false;
  size_t at = 0;
  for (size_t n : chunks) {
    // Each chunk in a buffer of its exact size: a read past it is caught.
    std::vector<char> chunk(reply.begin() + at, reply.begin() + at + n);
    bool wasDone = finder.HeaderDone();
    size_t start = finder.Feed(chunk.data(), n);
    FUZZ_CHECK(start <= n);
    if (wasDone) FUZZ_CHECK(start == 0);
    viaFinder.append(chunk.data() + start, n - start);
    if (!stopped && !collector.Feed(chunk.data(), n)) stopped = true;
    at += n;
  }
  FUZZ_CHECK(finder.HeaderDone() == (end != std::string::npos));
  if (end != std::string::npos) {
    FUZZ_CHECK(finder.HeaderBytes() == end + 4);
    FUZZ_CHECK(viaFinder == expectedBody);
  } else {
    FUZZ_CHECK(finder.HeaderBytes() == reply.size());
  }
  if (expectedBody.size() > cap) {
    FUZZ_CHECK(stopped && collector.Truncated());
    FUZZ_CHECK(body == expectedBody.substr(0, cap));
  } else {
    FUZZ_CHECK(!collector.Truncated());
    FUZZ_CHECK(body == expectedBody);
  }
  return 0;
}
#else
#include <cstdio>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) {
  static bool told = (fprintf(stderr, "http_reply: net/http is not on this branch yet; nothing to fuzz\n"), true);
  (void)told;
  return 0;
}
#endif
