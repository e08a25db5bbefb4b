#include "base/CodePageDecode_win.h"

#include <windows.h>

namespace vt {

bool DecodeGbkPair(unsigned char lead, unsigned char trail, uint32_t* codePoint) {
  const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  wchar_t wide[2] = {};
  // MB_ERR_INVALID_CHARS: an unassigned pair fails instead of becoming the
  // system's default character, so the caller writes U+FFFD for it.
  if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) != 1) return false;
  *codePoint = static_cast<uint16_t>(wide[0]);
  return true;
}

std::string Utf8ToAnsi(const std::string& utf8) {
  if (utf8.empty()) return std::string();
  const int n = static_cast<int>(utf8.size());
  int wideLen = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, nullptr, 0);
  if (wideLen <= 0) return std::string();
  std::wstring wide(static_cast<size_t>(wideLen), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), n, &wide[0], wideLen);
  int ansiLen = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLen, nullptr, 0, "?", nullptr);
  if (ansiLen <= 0) return std::string();
  std::string ansi(static_cast<size_t>(ansiLen), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), wideLen, &ansi[0], ansiLen, "?", nullptr);
  return ansi;
}

}  // namespace vt
