// A DoubleByteDecoder for the native tests: the C library's GBK table
// (iconv). The product asks Windows instead (base/CodePageDecode_win.h); the
// two agree on every character the tests use.
#pragma once

#include <iconv.h>

#include <cstdint>

inline bool DecodeGbkForTest(unsigned char lead, unsigned char trail, uint32_t* codePoint) {
  static iconv_t cd = iconv_open("UTF-32LE", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  unsigned char out[8] = {};
  char* inp = in;
  char* outp = reinterpret_cast<char*>(out);
  size_t inLeft = 2, outLeft = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 || outLeft != 4)
    return false;
  *codePoint = out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<uint32_t>(out[3]) << 24);
  return true;
}
