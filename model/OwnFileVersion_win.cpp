#include "model/OwnFileVersion_win.h"

#include <windows.h>

VersionPair FileVersionOf(const char* path) {
  VersionPair pair;  // 1.0 unless every step succeeds
  if (!path) return pair;
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  char info[4096];
  if (size == 0 || size > sizeof info) return pair;
  if (!GetFileVersionInfoA(path, 0, sizeof info, info)) return pair;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLen = 0;
  if (!VerQueryValueA(info, "\\", reinterpret_cast<void**>(&fixed), &fixedLen) || !fixed ||
      fixedLen < sizeof(VS_FIXEDFILEINFO))
    return pair;
  pair.major = HIWORD(fixed->dwFileVersionMS);
  pair.minor = LOWORD(fixed->dwFileVersionMS);
  return pair;
}

VersionPair OwnFileVersion() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return VersionPair{};
  return FileVersionOf(path);
}
