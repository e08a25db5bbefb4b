#include "tests/support/TempFolder.h"

#include <windows.h>

namespace wintest {

std::string EmptyTempFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do DeleteFileA((folder + "\\" + found.cFileName).c_str());
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace wintest
