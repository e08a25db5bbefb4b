// The system's own table for the program's code page (936, GBK): a
// DoubleByteDecoder (base/CodePage.h) for the texts written out as UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// The program's texts are GBK by construction (its literals are compiled as
// GBK, and the customers' systems hand it GBK), so the decoder asks for
// code page 936 by number rather than for the ANSI code page of the moment.
bool DecodeGbkPair(unsigned char lead, unsigned char trail, uint32_t* codePoint);

// The reverse, for console output of text read from a UTF-8 file: UTF-8 to
// the ANSI code page; characters it lacks become '?'.
std::string Utf8ToAnsi(const std::string& utf8);

}  // namespace vt
