#include "model/VersionCompare.h"

#include <cstdlib>
#include <cstring>

std::vector<std::string> SplitDotted(const char* text) {
  std::vector<std::string> pieces;
  if (!text) return pieces;
  char buffer[1024];
  size_t len = strnlen(text, sizeof buffer - 1);
  memcpy(buffer, text, len);
  buffer[len] = '\0';
  size_t pos = 0;
  while (pos < len) {
    while (pos < len && buffer[pos] == '.') ++pos;
    size_t start = pos;
    while (pos < len && buffer[pos] != '.') ++pos;
    if (pos > start) pieces.emplace_back(buffer + start, pos - start);
  }
  return pieces;
}

bool IsNewerVersion(const VersionPair& own, const char* documentVersion) {
  std::vector<std::string> pieces = SplitDotted(documentVersion);
  if (pieces.size() < 2) return false;
  int major = atoi(pieces[0].c_str());
  int minor = atoi(pieces[1].c_str());
  return own.major < major || own.minor < minor;
}
