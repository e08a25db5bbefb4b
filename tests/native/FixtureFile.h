// Reads a file of tests/data whole, bytes unchanged.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string ReadFixture(const std::string& relativePath) {
  std::ifstream in(std::string(VT_TEST_DATA_DIR) + "/" + relativePath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
