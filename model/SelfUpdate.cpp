#include "model/SelfUpdate.h"

#include "base/CodePage.h"

namespace vt {

namespace {

// Letters, digits, bytes of double-byte characters and the path characters
// an 8.3 path is made of need no quotes; anything else gets them.
bool PlainPathWord(const std::string& path) {
  for (unsigned char c : path) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c >= 0x80 ||
                 c == '\\' || c == ':' || c == '.' || c == '_' || c == '-' || c == '~';
    if (!plain) return false;
  }
  return true;
}

std::string PathWord(const char* path) {
  std::string p = path ? path : "";
  return PlainPathWord(p) ? p : "\"" + p + "\"";
}

}  // namespace

std::string CopyCommandParameters(const char* source, const char* target) {
  std::string s = PathWord(source);
  std::string t = PathWord(target);
  return "/c copy /Y " + s + " " + t + " >nul & " + t;
}

std::string UpdateSourcePath(const char* tempFolder, const char* fileName) {
  std::string path = std::string(tempFolder ? tempFolder : "") + (fileName ? fileName : "");
  size_t limit = kUpdatePathLimit - 1;
  if (path.size() > limit) path.resize(CharBoundaryAtOrBelow(path.c_str(), path.size(), limit));
  return path;
}

bool UpdateInstallable(bool downloadComplete, const char* head, size_t headLen) {
  return downloadComplete && head && headLen >= 2 && head[0] == 'M' && head[1] == 'Z';
}

}  // namespace vt
