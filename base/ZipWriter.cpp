#include "base/ZipWriter.h"

#include <zlib.h>

#include <cstring>
#include <memory>

namespace vt {

namespace {

constexpr size_t kChunk = 64 * 1024;

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

uint16_t DosTime(const ZipTime& t) { return static_cast<uint16_t>(t.hour << 11 | t.minute << 5 | t.second / 2); }
uint16_t DosDate(const ZipTime& t) {
  int year = t.year < 1980 ? 0 : t.year - 1980;
  return static_cast<uint16_t>(year << 9 | t.month << 5 | t.day);
}

bool WriteAll(FILE* out, const void* data, size_t size) { return fwrite(data, 1, size, out) == size; }

// Deflates what it is fed, raw (no zlib header, as zip wants), counting.
class Deflater {
 public:
  explicit Deflater(FILE* out) : out_(out) {
    ok_ = deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) == Z_OK;
  }
  ~Deflater() {
    if (ok_) deflateEnd(&z_);
  }
  bool Feed(const unsigned char* data, size_t size, bool last) {
    if (!ok_) return false;
    crc_ = crc32(crc_, data, static_cast<uInt>(size));
    size_ += size;
    z_.next_in = const_cast<unsigned char*>(data);
    z_.avail_in = static_cast<uInt>(size);
    unsigned char buffer[16384];
    int rc;
    do {
      z_.next_out = buffer;
      z_.avail_out = sizeof buffer;
      rc = deflate(&z_, last ? Z_FINISH : Z_NO_FLUSH);
      if (rc == Z_STREAM_ERROR) return false;
      size_t n = sizeof buffer - z_.avail_out;
      if (!WriteAll(out_, buffer, n)) return false;
      packed_ += n;
    } while (z_.avail_out == 0 || (last && rc != Z_STREAM_END));
    return true;
  }
  uint32_t crc() const { return static_cast<uint32_t>(crc_); }
  uint64_t size() const { return size_; }
  uint64_t packed() const { return packed_; }

 private:
  FILE* out_;
  z_stream z_{};
  bool ok_ = false;
  uLong crc_ = crc32(0, nullptr, 0);
  uint64_t size_ = 0, packed_ = 0;
};

}  // namespace

bool ZipWriter::Begin(const std::string& name, const ZipTime& time, Entry* e) {
  if (failed_ || entries_.size() >= kZipMaxEntries || name.empty() || name.size() > 0xFFFF) return false;
  long offset = ftell(out_);
  if (offset < 0 || static_cast<uint64_t>(offset) > 0xFFFFFFFFull) return failed_ = true, false;
  e->name = name;
  e->dosTime = DosTime(time);
  e->dosDate = DosDate(time);
  e->offset = static_cast<uint32_t>(offset);
  std::string head;
  Put32(head, 0x04034b50);
  Put16(head, 20);  // version needed: deflate
  Put16(head, 0);   // flags
  Put16(head, 8);   // deflated
  Put16(head, e->dosTime);
  Put16(head, e->dosDate);
  Put32(head, 0);  // crc, sizes: filled in by End
  Put32(head, 0);
  Put32(head, 0);
  Put16(head, static_cast<uint32_t>(name.size()));
  Put16(head, 0);
  head += name;
  if (!WriteAll(out_, head.data(), head.size())) return failed_ = true, false;
  return true;
}

bool ZipWriter::End(Entry* e) {
  std::string sizes;
  Put32(sizes, e->crc);
  Put32(sizes, e->packed);
  Put32(sizes, e->size);
  long end = ftell(out_);
  if (end < 0 || static_cast<uint64_t>(end) > 0xFFFFFFFFull || fseek(out_, e->offset + 14, SEEK_SET) != 0 ||
      !WriteAll(out_, sizes.data(), sizes.size()) || fseek(out_, end, SEEK_SET) != 0)
    return failed_ = true, false;
  entries_.push_back(*e);
  return true;
}

bool ZipWriter::AddFile(const std::string& name, FILE* in, const ZipTime& time, bool* cut) {
  if (cut) *cut = false;
  Entry e;
  if (!Begin(name, time, &e)) return false;
  Deflater deflater(out_);
  std::unique_ptr<unsigned char[]> chunk(new unsigned char[kChunk]);
  uint64_t total = 0;
  for (;;) {
    size_t want = kChunk;
    if (kZipEntryLimit - total < want) want = static_cast<size_t>(kZipEntryLimit - total);
    size_t n = want ? fread(chunk.get(), 1, want, in) : 0;
    total += n;
    bool last = n < want || total >= kZipEntryLimit;
    if (!deflater.Feed(chunk.get(), n, last)) return failed_ = true, false;
    if (last) {
      if (cut && total >= kZipEntryLimit && fgetc(in) != EOF) *cut = true;
      break;
    }
  }
  e.crc = deflater.crc();
  e.size = static_cast<uint32_t>(deflater.size());
  e.packed = static_cast<uint32_t>(deflater.packed());
  return End(&e);
}

bool ZipWriter::AddText(const std::string& name, const std::string& text, const ZipTime& time) {
  Entry e;
  if (text.size() > kZipEntryLimit || !Begin(name, time, &e)) return false;
  Deflater deflater(out_);
  if (!deflater.Feed(reinterpret_cast<const unsigned char*>(text.data()), text.size(), true))
    return failed_ = true, false;
  e.crc = deflater.crc();
  e.size = static_cast<uint32_t>(deflater.size());
  e.packed = static_cast<uint32_t>(deflater.packed());
  return End(&e);
}

bool ZipWriter::Finish() {
  if (failed_) return false;
  long start = ftell(out_);
  if (start < 0) return false;
  std::string dir;
  for (const Entry& e : entries_) {
    Put32(dir, 0x02014b50);
    Put16(dir, 20);  // made by: MS-DOS
    Put16(dir, 20);
    Put16(dir, 0);
    Put16(dir, 8);
    Put16(dir, e.dosTime);
    Put16(dir, e.dosDate);
    Put32(dir, e.crc);
    Put32(dir, e.packed);
    Put32(dir, e.size);
    Put16(dir, static_cast<uint32_t>(e.name.size()));
    Put16(dir, 0);  // extra
    Put16(dir, 0);  // comment
    Put16(dir, 0);  // disk
    Put16(dir, 0);  // internal attributes
    Put32(dir, 0);  // external attributes
    Put32(dir, e.offset);
    dir += e.name;
  }
  uint32_t dirSize = static_cast<uint32_t>(dir.size());
  Put32(dir, 0x06054b50);
  Put16(dir, 0);
  Put16(dir, 0);
  Put16(dir, static_cast<uint32_t>(entries_.size()));
  Put16(dir, static_cast<uint32_t>(entries_.size()));
  Put32(dir, dirSize);
  Put32(dir, static_cast<uint32_t>(start));
  Put16(dir, 0);
  return WriteAll(out_, dir.data(), dir.size()) && fflush(out_) == 0;
}

}  // namespace vt
