// The receive-loop rules of FetchText and FetchToFile as portable code that
// accepts the reply in any chunking: the header end is found once, even
// across receives, and every body byte after it is kept.
//
// The header ends at the first "\r\n\r\n" of the reply, wherever the
// receives cut it: the separator may be split across two (or four) chunks,
// or end exactly at a chunk's end. It is found once; every byte after it is
// body, including later blank lines inside the body. The header itself is
// not interpreted (no status, length or transfer coding is read).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vt {

class HeaderEndFinder {
 public:
  // Feeds the next chunk of the reply. Returns the offset within the chunk at
  // which body bytes start: len when the chunk holds no body byte (the header
  // goes on, or ends exactly at the chunk's end). Once the header is over,
  // every later chunk is body from offset 0.
  size_t Feed(const char* data, size_t len);
  bool HeaderDone() const { return done_; }
  // Header bytes seen so far (all of them once HeaderDone()).
  uint64_t HeaderBytes() const { return headerBytes_; }

 private:
  int matched_ = 0;  // bytes of "\r\n\r\n" matched at the end of what came so far (0..3)
  bool done_ = false;
  uint64_t headerBytes_ = 0;
};

// FetchText's body: every body byte, up to a hard limit. The replies that
// travel this way (public address, test number, version document) are a few
// hundred bytes; a reply whose body passes the limit is cut there and the
// exchange ends (Feed returns false), so no server can make the client grow
// without bound.
class TextBodyCollector {
 public:
  static constexpr size_t kDefaultLimit = 1 << 20;  // 1 MiB
  explicit TextBodyCollector(std::string& body, size_t limit = kDefaultLimit) : body_(body), limit_(limit) {}
  // Returns false once the body has reached the limit: stop receiving.
  bool Feed(const char* data, size_t len);
  bool Truncated() const { return truncated_; }

 private:
  HeaderEndFinder finder_;
  std::string& body_;
  size_t limit_;
  bool truncated_ = false;
};

}  // namespace vt
