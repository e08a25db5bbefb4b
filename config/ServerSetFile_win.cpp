#include "config/ServerSetFile_win.h"

#include <windows.h>

#include <vector>

#include "base/Log.h"
#include "config/ServerSetIni.h"

namespace vt {

namespace {

// Bounds of what is read: a server set is a few kilobytes.
constexpr DWORD kMaxFileBytes = 64 * 1024;
constexpr DWORD kNamesBuffer = 4096;
constexpr DWORD kSectionBuffer = 32 * 1024;

std::string WindowsError(DWORD code) {
  char text[256] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                           sizeof text, nullptr);
  while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ' || text[n - 1] == '.'))
    text[--n] = '\0';
  return n ? std::string(text) + " (error " + std::to_string(code) + ")" : "error " + std::to_string(code);
}

// The strings of a profile API buffer: NUL-separated, ending in two NULs.
std::vector<std::string> Strings(const char* buffer, DWORD length) {
  std::vector<std::string> out;
  for (DWORD i = 0; i < length;) {
    std::string s(buffer + i);
    i += static_cast<DWORD>(s.size()) + 1;
    if (!s.empty()) out.push_back(s);
  }
  return out;
}

// Whether the file can be opened for reading and is of a sensible size;
// when not, *what says why.
bool Openable(const char* path, std::string* what) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    *what = "cannot be read: " + WindowsError(GetLastError());
    return false;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    *what = "is a folder, not a file";
    return false;
  }
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *what = "cannot be read: " + WindowsError(GetLastError());
    return false;
  }
  LARGE_INTEGER size = {};
  bool sized = GetFileSizeEx(file, &size);
  CloseHandle(file);
  if (!sized || size.QuadPart > kMaxFileBytes) {
    *what = "larger than " + std::to_string(kMaxFileBytes / 1024) + " KB";
    return false;
  }
  return true;
}

// veltrane.ini in the executable's folder; false when the folder cannot be
// found.
bool DefaultPath(std::string* path) {
  char module[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, module, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  std::string p(module, n);
  size_t slash = p.find_last_of("\\/");
  if (slash == std::string::npos) return false;
  *path = p.substr(0, slash + 1) + kServerFileName;
  return true;
}

bool Absent(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool ReadServerSetFile(const char* path, ServerSet* set, std::string* message) {
  char full[MAX_PATH];
  DWORD n = GetFullPathNameA(path, MAX_PATH, full, nullptr);
  if (n == 0 || n >= MAX_PATH) {
    *message = std::string(path) + ": not a usable file path";
    return false;
  }
  std::string what;
  if (!Openable(full, &what)) {
    *message = std::string(full) + ": " + what;
    return false;
  }

  std::vector<char> buffer(kSectionBuffer);
  DWORD length = GetPrivateProfileSectionNamesA(buffer.data(), kNamesBuffer, full);
  if (length >= kNamesBuffer - 2) {
    *message = std::string(full) + ": too many sections";
    return false;
  }
  // The section named "" holds what stands before the first header (Wine
  // hands it out; the names' list never has it).
  std::vector<IniSection> sections = {{"", {}, false}};
  for (const std::string& name : Strings(buffer.data(), length)) sections.push_back({name, {}, false});
  for (IniSection& section : sections) {
    length = GetPrivateProfileSectionA(section.name.c_str(), buffer.data(), kSectionBuffer, full);
    section.truncated = length >= kSectionBuffer - 2;
    section.lines = Strings(buffer.data(), section.truncated ? 0 : length);
  }

  ServerSet read;
  ServerSetProblem problem;
  if (!ReadServerSet(sections, &read, &problem)) {
    *message = ServerSetProblemText(full, problem);
    return false;
  }
  read.origin = full;
  *set = read;
  return true;
}

bool UseServersAtStartUp(const char* configPath, std::string* message) {
  ServerSet set = ProductionServers();
  if (configPath) {
    if (!ReadServerSetFile(configPath, &set, message)) return false;
  } else {
    std::string path;
    if (!DefaultPath(&path)) {
      *message = std::string(kServerFileName) + ": the program's folder cannot be found";
      return false;
    }
    if (!Absent(path) && !ReadServerSetFile(path.c_str(), &set, message)) return false;
  }
  UseServers(set);
  LogLine(ServerSetSummary(Servers()).c_str());
  return true;
}

}  // namespace vt
