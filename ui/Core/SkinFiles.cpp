#include "ui/Core/SkinFiles.h"

#include <cstdio>
#include <cstring>

#include "base/UIString.h"
#include "ui/Core/ZipArchive.h"

namespace vt {
namespace {

struct SkinSource {
  CZipArchive archive;
  bool inMemory = false;
  CUIString archiveFile;
  CUIString skinPath;
};

SkinSource& Source() {
  static SkinSource source;  // lives for the process: controls may load images at any time
  return source;
}

}  // namespace

bool SetSkinArchiveMemory(const void* bytes, size_t len) {
  SkinSource& s = Source();
  if (s.inMemory && s.archive.IsOpen()) return true;
  if (!s.archive.OpenMemory(bytes, len)) return false;
  s.inMemory = true;
  s.archiveFile.Empty();
  return true;
}

bool SetSkinArchiveFile(const char* path) {
  SkinSource& s = Source();
  if (s.inMemory && s.archive.IsOpen()) return true;
  s.archiveFile = path;
  return s.archive.OpenFile(path);
}

bool HasSkinArchive() { return Source().archive.IsOpen() || !Source().archiveFile.IsEmpty(); }
bool HasSkinArchiveInMemory() { return Source().inMemory && Source().archive.IsOpen(); }

void ResetSkinArchiveForTest() {
  SkinSource& s = Source();
  s.archive.Close();
  s.inMemory = false;
  s.archiveFile.Empty();
}

void SetSkinPath(const char* path) {
  CUIString& p = Source().skinPath;
  p = path;
  if (p.IsEmpty()) return;
  char last = p.GetAt(p.GetLength() - 1);
  // The last byte may be the trail byte of a double-byte character ('\' is
  // a valid trail byte): only a real last character counts as separator.
  size_t lastChar = 0;
  for (size_t pos = 0; pos < p.GetLength();) {
    lastChar = pos;
    unsigned char c = static_cast<unsigned char>(p.GetAt(pos));
    pos += (c >= 0x81 && c <= 0xFE && pos + 1 < p.GetLength()) ? 2 : 1;
  }
  bool endsInSeparator = lastChar == p.GetLength() - 1 && (last == '\\' || last == '/');
  if (!endsInSeparator) p += '\\';
}

const char* GetSkinPath() { return Source().skinPath; }

bool ReadPlainFile(const char* path, size_t maxSize, std::vector<char>& out, const char** error) {
  out.clear();
  FILE* f = path ? fopen(path, "rb") : nullptr;
  if (!f) {
    *error = "Error opening file";
    return false;
  }
  long size = -1;
  if (fseek(f, 0, SEEK_END) == 0) size = ftell(f);
  fseek(f, 0, SEEK_SET);
  if (size < 0) {
    fclose(f);
    *error = "Could not read file";
    return false;
  }
  if (size == 0) {
    fclose(f);
    *error = "File is empty";
    return false;
  }
  if (static_cast<unsigned long>(size) > maxSize) {
    fclose(f);
    *error = "File too large";
    return false;
  }
  out.resize(static_cast<size_t>(size));
  size_t got = fread(out.data(), 1, out.size(), f);
  fclose(f);
  if (got != out.size()) {
    out.clear();
    *error = "Could not read file";
    return false;
  }
  return true;
}

bool ReadSkinFile(const char* name, size_t maxSize, std::vector<char>& out, const char** error) {
  SkinSource& s = Source();
  out.clear();
  if (!name) name = "";
  if (!s.archiveFile.IsEmpty() && !s.archive.IsOpen()) {
    *error = "Error opening zip file";
    return false;
  }
  if (s.archive.IsOpen()) {
    switch (s.archive.Read(name, maxSize, out)) {
      case CZipArchive::kOk: return true;
      case CZipArchive::kNotOpen: *error = "Error opening zip file"; return false;
      case CZipArchive::kNotFound: *error = "Could not find ziped file"; return false;
      case CZipArchive::kEmpty: *error = "File is empty"; return false;
      case CZipArchive::kTooLarge: *error = "File too large"; return false;
      case CZipArchive::kInflateFailed: *error = "Could not unzip file"; return false;
    }
    return false;
  }
  CUIString path(s.skinPath);
  path += name;
  return ReadPlainFile(path, maxSize, out, error);
}

}  // namespace vt
