// The zip archive over minizip. Archives in memory are read through our own
// file functions (minizip's stream is a cursor over the caller's bytes).
#include "ui/Core/ZipArchive.h"

#include <cstring>

#include "unzip.h"

namespace {

constexpr size_t kMaxEntryName = 256;

struct Cursor {
  const unsigned char* bytes;
  size_t len;
  size_t pos;
};

voidpf MemOpen(voidpf opaque, const void*, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  Cursor* c = static_cast<Cursor*>(opaque);
  c->pos = 0;
  return c;
}

uLong MemRead(voidpf, voidpf stream, void* buf, uLong size) {
  Cursor* c = static_cast<Cursor*>(stream);
  size_t left = c->pos < c->len ? c->len - c->pos : 0;
  size_t n = size < left ? size : left;
  if (n) memcpy(buf, c->bytes + c->pos, n);
  c->pos += n;
  return static_cast<uLong>(n);
}

uLong MemWrite(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T MemTell(voidpf, voidpf stream) { return static_cast<Cursor*>(stream)->pos; }

long MemSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  Cursor* c = static_cast<Cursor*>(stream);
  ZPOS64_T base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = c->pos; break;
    case ZLIB_FILEFUNC_SEEK_END: base = c->len; break;
    default: return -1;
  }
  if (offset > c->len || base > c->len - offset) return -1;  // never past the end
  c->pos = static_cast<size_t>(base + offset);
  return 0;
}

int MemClose(voidpf, voidpf) { return 0; }
int MemError(voidpf, voidpf) { return 0; }

}  // namespace

CZipArchive::~CZipArchive() { Close(); }

void CZipArchive::Close() {
  if (handle_) unzClose(static_cast<unzFile>(handle_));
  handle_ = nullptr;
  memory_ = MemoryStream();
}

bool CZipArchive::OpenMemory(const void* bytes, size_t len) {
  Close();
  if (!bytes || len == 0) return false;
  static_assert(sizeof(Cursor) == sizeof(MemoryStream), "the cursor lives in memory_");
  memory_.bytes = static_cast<const unsigned char*>(bytes);
  memory_.len = len;
  zlib_filefunc64_def funcs = {};
  funcs.zopen64_file = MemOpen;
  funcs.zread_file = MemRead;
  funcs.zwrite_file = MemWrite;
  funcs.ztell64_file = MemTell;
  funcs.zseek64_file = MemSeek;
  funcs.zclose_file = MemClose;
  funcs.zerror_file = MemError;
  funcs.opaque = reinterpret_cast<Cursor*>(&memory_);
  handle_ = unzOpen2_64("memory", &funcs);
  if (!handle_) memory_ = MemoryStream();
  return handle_ != nullptr;
}

bool CZipArchive::OpenFile(const char* path) {
  Close();
  if (!path || !*path) return false;
  handle_ = unzOpen64(path);
  return handle_ != nullptr;
}

CZipArchive::Result CZipArchive::Read(const char* name, size_t maxSize, std::vector<char>& out) {
  out.clear();
  if (!handle_) return kNotOpen;
  if (!name) return kNotFound;
  size_t len = strnlen(name, kMaxEntryName);
  if (len >= kMaxEntryName) return kNotFound;
  char wanted[kMaxEntryName];
  for (size_t i = 0; i <= len; ++i) wanted[i] = name[i] == '\\' ? '/' : name[i];
  unzFile zf = static_cast<unzFile>(handle_);
  // Case sensitivity 2: ASCII letters compare without case.
  if (unzLocateFile(zf, wanted, 2) != UNZ_OK) return kNotFound;
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(zf, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return kInflateFailed;
  if (info.uncompressed_size == 0) return kEmpty;
  if (info.uncompressed_size > maxSize) return kTooLarge;
  size_t size = static_cast<size_t>(info.uncompressed_size);
  if (unzOpenCurrentFile(zf) != UNZ_OK) return kInflateFailed;
  out.resize(size);
  size_t got = 0;
  while (got < size) {
    size_t chunk = size - got;
    if (chunk > 1u << 20) chunk = 1u << 20;
    int n = unzReadCurrentFile(zf, out.data() + got, static_cast<unsigned>(chunk));
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  // A checksum or length mismatch shows when closing the entry.
  int closed = unzCloseCurrentFile(zf);
  if (got != size || closed != UNZ_OK) {
    out.clear();
    return kInflateFailed;
  }
  return kOk;
}
