// CZipArchive: read-only access to a plain zip archive (stored or deflated
// entries, no encryption) held in memory or in a file. The only file that
// knows the zip library; swapping the library touches ZipArchive.cpp alone.
#pragma once

#include <cstddef>
#include <vector>

class CZipArchive {
 public:
  enum Result { kOk = 0, kNotOpen, kNotFound, kEmpty, kTooLarge, kInflateFailed };

  CZipArchive() = default;
  ~CZipArchive();
  CZipArchive(const CZipArchive&) = delete;
  CZipArchive& operator=(const CZipArchive&) = delete;

  // The bytes must stay alive and unchanged while the archive is open.
  bool OpenMemory(const void* bytes, size_t len);
  bool OpenFile(const char* path);
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

  // Reads the entry called name (compared without regard to ASCII letter
  // case; '\' counts as '/'; names of 256 characters or more are not found)
  // into out. Entries whose uncompressed size exceeds maxSize are refused.
  Result Read(const char* name, size_t maxSize, std::vector<char>& out);

 private:
  struct MemoryStream {
    const unsigned char* bytes = nullptr;
    size_t len = 0;
    size_t pos = 0;
  };
  void* handle_ = nullptr;
  MemoryStream memory_;
};
