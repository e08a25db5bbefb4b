#include "model/ResultStore_win.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/CodePageDecode_win.h"
#include "base/Version.h"
#include "config/ServerSet.h"
#include "model/ReportPage.h"

namespace vt {

namespace {

// File-name part of a test number: letters, digits, '-' and '_' kept, any
// other byte '_' (the number comes from the platform), at most 40.
std::string SafeNamePart(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (out.size() >= 40) break;
    bool keep =
        (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '_';
    out += keep ? static_cast<char>(c) : '_';
  }
  return out.empty() ? std::string("none") : out;
}

// "2026-12-11T08:15:02+08:00" -> "20261211-081502"; empty when it is not such a time.
std::string CompactTime(const std::string& iso) {
  if (iso.size() < 19) return std::string();
  std::string out;
  for (size_t i = 0; i < 19; ++i) {
    char c = iso[i];
    if (c >= '0' && c <= '9') out += c;
    else if (c == 'T') out += '-';
  }
  return out.size() == 15 ? out : std::string();
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  wchar_t last = folder.back();
  return folder + (last == L'\\' || last == L'/' ? L"" : L"\\") + name;
}

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// Creates the folder and any missing parent; true when it exists after.
bool MakeFolder(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  size_t cut = folder.find_last_of(L"\\/");
  if (cut != std::wstring::npos && cut > 0 && folder[cut - 1] != L':' && !MakeFolder(folder.substr(0, cut)))
    return false;
  if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
  return GetLastError() == ERROR_ALREADY_EXISTS;
}

// Writes the bytes under path + ".part", then puts that file in place.
bool WriteWhole(const std::wstring& path, const std::string& bytes) {
  std::wstring part = path + L".part";
  HANDLE file =
      CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  ok = CloseHandle(file) && ok;
  if (ok)
    ok = MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!ok) DeleteFileW(part.c_str());
  return ok;
}

bool ReadWhole(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            size.QuadPart <= static_cast<LONGLONG>(kResultFileLimit);
  if (ok) {
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = bytes->empty() || (ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &read, nullptr) &&
                            read == bytes->size());
  }
  CloseHandle(file);
  return ok;
}

}  // namespace

std::wstring DefaultReportFolder() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT,
                              base)) ||
      base[0] == L'\0')
    return std::wstring();
  return Join(base, L"Veltrane\\reports");
}

std::string LocalTimeText() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  TIME_ZONE_INFORMATION zone;
  DWORD which = GetTimeZoneInformation(&zone);
  LONG bias = zone.Bias;  // minutes, UTC = local + bias
  if (which == TIME_ZONE_ID_DAYLIGHT) bias += zone.DaylightBias;
  else if (which == TIME_ZONE_ID_STANDARD) bias += zone.StandardBias;
  else if (which == TIME_ZONE_ID_INVALID) bias = 0;
  LONG offset = -bias;
  char text[40];
  snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u%c%02ld:%02ld", t.wYear, t.wMonth, t.wDay,
           t.wHour, t.wMinute, t.wSecond, offset < 0 ? '-' : '+', labs(offset) / 60, labs(offset) % 60);
  return text;
}

std::string AnsiPath(const std::wstring& path) {
  if (path.empty()) return std::string();
  int n =
      WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, "?", nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, path.data(), static_cast<int>(path.size()), &out[0], n, "?", nullptr);
  return out;
}

std::wstring WidePath(const char* ansiPath) {
  if (!ansiPath || !*ansiPath) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, ansiPath, -1, nullptr, 0);
  if (n <= 1) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansiPath, -1, &out[0], n);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

SavedResult SaveResult(const ResultCollector& results, const ReportRecord& report, const char* because,
                       const std::wstring& folder) {
  SavedResult saved;
  ResultRecord record = results.record();
  if (record.exportState == ExportState::kNotExported) record.report = report;
  record.savedAt = LocalTimeText();
  record.savedBecause = because ? because : "";
  record.clientVersion = VELTRANE_VERSION_TEXT;
  record.platformServer = Servers().platformServer;
  record.serverOrigin = BoundedText(Servers().origin.c_str());

  if (folder.empty()) {
    saved.problem = "本机没有可以保存测试记录的文件夹";
    return saved;
  }
  std::string name = "veltrane-" + CompactTime(record.savedAt) + "-" + SafeNamePart(record.testNumber);
  saved.recordPath = Join(folder, Widen(name + ".json"));
  saved.pagePath = Join(folder, Widen(name + ".html"));
  if (!MakeFolder(folder)) {
    saved.problem = "无法创建文件夹 " + AnsiPath(folder);
    return saved;
  }
  if (!WriteWhole(saved.recordPath, ResultJson(record, DecodeGbkPair))) {
    saved.problem = "无法写入 " + AnsiPath(saved.recordPath);
    return saved;
  }
  if (!WriteWhole(saved.pagePath, ReportPageHtml(record, DecodeGbkPair, name + ".json"))) {
    saved.problem = "无法写入 " + AnsiPath(saved.pagePath);
    return saved;
  }
  saved.ok = true;
  return saved;
}

std::vector<ListedResult> ListResults(const std::wstring& folder, size_t limit) {
  std::vector<ListedResult> list;
  if (folder.empty()) return list;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Join(folder, L"veltrane-*.json").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return list;
  std::vector<std::wstring> names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found) && names.size() < 100000);
  FindClose(search);
  // Names carry the save time: newest first by name, then read only the
  // ones that are kept.
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) { return a > b; });
  if (names.size() > limit) names.resize(limit);
  for (const std::wstring& name : names) {
    ListedResult item;
    item.recordPath = Join(folder, name);
    std::string bytes;
    if (!ReadWhole(item.recordPath, &bytes)) item.problem = "cannot be read (or larger than a record can be)";
    else item.ok = ReadResultSummary(bytes.data(), bytes.size(), &item.summary, &item.problem);
    list.push_back(item);
  }
  return list;
}

}  // namespace vt
