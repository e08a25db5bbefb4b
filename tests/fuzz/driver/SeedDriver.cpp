// Runs a fuzz target over seed files without libFuzzer (the smoke run of the
// native test layer): every file given, or every file in a folder given,
// whole and cut at every length up to 4 KiB, so truncated input is covered.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
size_t RunFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t runs = 0;
  size_t cuts = bytes.size() < 4096 ? bytes.size() : 4096;
  for (size_t n = 0; n <= cuts; ++n, ++runs) {
    std::vector<uint8_t> piece(bytes.begin(), bytes.begin() + static_cast<long>(n));  // exact size: ASan sees overruns
    LLVMFuzzerTestOneInput(piece.data(), piece.size());
  }
  std::vector<uint8_t> whole(bytes.begin(), bytes.end());
  LLVMFuzzerTestOneInput(whole.data(), whole.size());
  return runs + 1;
}
}  // namespace

int main(int argc, char** argv) {
  size_t files = 0, runs = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path p(argv[i]);
    if (std::filesystem::is_directory(p)) {
      for (const auto& e : std::filesystem::recursive_directory_iterator(p)) {
        if (e.is_regular_file()) {
          runs += RunFile(e.path());
          ++files;
        }
      }
    } else {
      runs += RunFile(p);
      ++files;
    }
  }
  printf("%zu seed files, %zu runs\n", files, runs);
  return files > 0 ? 0 : 1;
}
