#include "net/http/ReplyReader.h"

namespace vt {

namespace {
const char kSeparator[4] = {'\r', '\n', '\r', '\n'};
}

size_t HeaderEndFinder::Feed(const char* data, size_t len) {
  if (done_) return 0;
  for (size_t i = 0; i < len; ++i) {
    char c = data[i];
    if (c == kSeparator[matched_]) {
      if (++matched_ == 4) {
        done_ = true;
        headerBytes_ += i + 1;
        return i + 1;
      }
    } else {
      // The longest end of what was matched that still starts the separator:
      // only a lone "\r" can (e.g. "\r\n\r" followed by "\r").
      matched_ = c == '\r' ? 1 : 0;
    }
  }
  headerBytes_ += len;
  return len;
}

bool TextBodyCollector::Feed(const char* data, size_t len) {
  size_t start = finder_.Feed(data, len);
  size_t n = len - start;
  if (n == 0) return true;
  size_t room = limit_ > body_.size() ? limit_ - body_.size() : 0;
  if (n > room) {
    // At the bound: keep what fits and end the exchange.
    body_.append(data + start, room);
    truncated_ = true;
    return false;
  }
  body_.append(data + start, n);
  return true;
}

}  // namespace vt
