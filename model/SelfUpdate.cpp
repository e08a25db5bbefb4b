#include "model/SelfUpdate.h"

#include "base/CodePage.h"

namespace vt {

std::string CopyCommandParameters(const char* source, const char* target) {
  std::string s = source ? source : "";
  std::string t = target ? target : "";
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
