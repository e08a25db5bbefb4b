// A zip archive written entry by entry to a seekable file: each entry is
// deflated as it is read (64 KB at a time, nothing held whole) and its
// local header completed afterwards. No Zip64: the support bundle it is
// made for holds a week of logs and a few crash reports, far below 4 GB;
// an entry that would pass kZipEntryLimit is cut there and says so.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vt {

constexpr uint64_t kZipEntryLimit = 512ull * 1024 * 1024;
constexpr size_t kZipMaxEntries = 4096;

// MS-DOS date and time fields of a zip entry.
struct ZipTime {
  int year = 1980, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class ZipWriter {
 public:
  // out: opened for writing in binary mode, seekable; not closed here.
  explicit ZipWriter(FILE* out) : out_(out) {}

  // The bytes read from in up to its end or kZipEntryLimit. *cut (may be
  // null) tells whether the limit cut it. False when writing failed (the
  // archive is then unusable) or there are kZipMaxEntries entries already.
  bool AddFile(const std::string& name, FILE* in, const ZipTime& time, bool* cut = nullptr);
  bool AddText(const std::string& name, const std::string& text, const ZipTime& time);

  // Writes the central directory; the archive is complete when true.
  bool Finish();

 private:
  struct Entry {
    std::string name;
    uint16_t dosTime, dosDate;
    uint32_t crc, packed, size, offset;
  };
  bool Begin(const std::string& name, const ZipTime& time, Entry* entry);
  bool End(Entry* entry);

  FILE* out_;
  std::vector<Entry> entries_;
  bool failed_ = false;
};

}  // namespace vt
