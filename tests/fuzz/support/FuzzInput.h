// Helpers shared by the fuzz targets: carving one input into several
// values, cutting a buffer into random chunks, and invariant checks that
// stop the run (libFuzzer then keeps the input as a finding).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_CHECK(cond)                                                           \
  do {                                                                             \
    if (!(cond)) {                                                                 \
      fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #cond); \
      abort();                                                                     \
    }                                                                              \
  } while (0)

namespace fuzz {

// Reads values off the front of the input; when the input is used up every
// value is 0 or empty.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t remaining() const { return size_ - pos_; }

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }
  bool Bool() { return Byte() & 1; }

  // Bytes up to the next separator byte (not included) or the end.
  std::string Until(char separator) {
    std::string out;
    while (pos_ < size_) {
      char c = static_cast<char>(data_[pos_++]);
      if (c == separator) break;
      out += c;
    }
    return out;
  }

  // Everything left.
  std::string Rest() {
    std::string out(reinterpret_cast<const char*>(data_ + pos_), size_ - pos_);
    pos_ = size_;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Cut points for a buffer of len bytes: chunk sizes taken from seed bytes
// (1..64, with 1 often, so separators split at every position), the last
// chunk ending at len.
inline std::vector<size_t> Chunking(size_t len, Input& seeds) {
  std::vector<size_t> sizes;
  size_t done = 0;
  while (done < len) {
    uint8_t b = seeds.Byte();
    size_t n = (b & 0x80) ? 1 : (b & 0x3F) + 1;
    if (n > len - done) n = len - done;
    sizes.push_back(n);
    done += n;
  }
  return sizes;
}

}  // namespace fuzz
