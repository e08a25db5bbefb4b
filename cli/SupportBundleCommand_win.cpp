// veltrane-cli support-bundle OUT.zip [--from FOLDER]: the week's logs, the
// crash reports and the recent result records of the program's local data
// folder (FOLDER, default %LOCALAPPDATA%\Veltrane) packed into one archive
// for the support desk, with bundle.txt saying what it holds and what it
// left out (cli/SupportBundle.h). Standard output: one JSON line.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/LogFile_win.h"
#include "base/ProgramStart_win.h"
#include "base/ZipWriter.h"
#include "cli/CliCommand.h"
#include "cli/JsonLine.h"
#include "cli/SupportBundle.h"
#include "cli/JsonOutput_win.h"

namespace {

SYSTEMTIME LocalTimeOf(const FILETIME& written) {
  FILETIME local;
  SYSTEMTIME t = {};
  if (FileTimeToLocalFileTime(&written, &local)) FileTimeToSystemTime(&local, &t);
  return t;
}

int DayOf(const SYSTEMTIME& t) { return t.wYear * 10000 + t.wMonth * 100 + t.wDay; }

// The files of FOLDER\sub (not of its subfolders).
void ListFiles(const std::string& folder, const char* sub, std::vector<vt::BundleFile>* files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\" + sub + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    vt::BundleFile f;
    f.folder = sub;
    f.name = found.cFileName;
    f.size = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    f.day = DayOf(LocalTimeOf(found.ftLastWriteTime));
    files->push_back(f);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

vt::ZipTime ZipTimeOf(const SYSTEMTIME& t) { return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}; }

// Adds one file, read while its writer may still append to it (the log of
// a running veltrane.exe): the C library's fopen shares reading and writing.
bool AddFile(vt::ZipWriter* zip, const std::string& folder, const vt::BundleFile& f, std::string* problem) {
  std::string path = folder + "\\" + f.folder + "\\" + f.name;
  FILE* in = fopen(path.c_str(), "rb");
  if (!in) {
    *problem = "could not be read";
    return true;
  }
  WIN32_FILE_ATTRIBUTE_DATA data;
  SYSTEMTIME t = {};
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) t = LocalTimeOf(data.ftLastWriteTime);
  bool cut = false;
  bool ok = zip->AddFile(f.folder + "/" + f.name, in, ZipTimeOf(t), &cut);
  fclose(in);
  if (cut) *problem = "cut at the archive's entry limit";
  return ok;
}

int RunSupportBundle(int argc, char** argv) {
  const char* outPath = nullptr;
  const char* from = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--from") == 0 && i + 1 < argc && !from) {
      from = argv[++i];
    } else if (argv[i][0] != '-' && !outPath) {
      outPath = argv[i];
    } else {
      return CliUsage(argv[i]);
    }
  }
  if (!outPath) return CliUsage(argv[0]);
  std::string folder = from ? from : vt::LocalDataFolder(nullptr);
  if (folder.empty()) {
    fprintf(stderr, "veltrane-cli: there is no local application data folder\n");
    return kCliFailed;
  }
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();

  std::vector<vt::BundleFile> files;
  ListFiles(folder, "logs", &files);
  ListFiles(folder, "reports", &files);
  SYSTEMTIME now;
  GetLocalTime(&now);
  vt::BundleChoice choice = vt::ChooseBundleFiles(files, DayOf(now));

  FILE* out = fopen(outPath, "wb");
  if (!out) {
    fprintf(stderr, "veltrane-cli: cannot write %s\n", outPath);
    return kCliFailed;
  }
  vt::ZipWriter zip(out);
  bool ok = true;
  std::vector<vt::BundleFile> taken;
  for (const vt::BundleFile& f : choice.taken) {
    std::string problem;
    ok = ok && AddFile(&zip, folder, f, &problem);
    if (problem != "could not be read") taken.push_back(f);  // a cut file is in, and said to be cut
    if (!problem.empty()) choice.left.emplace_back(f, problem);
  }
  choice.taken = taken;
  std::string note = vt::BundleNote(choice, vt::ProgramStartLine("veltrane-cli"), folder);
  ok = ok && zip.AddText("bundle.txt", note, ZipTimeOf(now)) && zip.Finish();
  ok = fclose(out) == 0 && ok;
  if (!ok) {
    DeleteFileA(outPath);
    fprintf(stderr, "veltrane-cli: writing %s failed\n", outPath);
    return kCliFailed;
  }
  vt::JsonObject summary;
  summary.Add("bundle", outPath)
      .Add("from", folder.c_str())
      .Add("files", static_cast<int64_t>(choice.taken.size()))
      .Add("left_out", static_cast<int64_t>(choice.left.size()));
  vt::PrintJsonLine(summary.Str());
  return kCliOk;
}

// The registry keeps a pointer to the command: it lives as long as the program.
const CliCommand kSupportBundle = {"support-bundle", "OUT.zip [--from FOLDER]", RunSupportBundle};
CliCommandRegistrar g_supportBundle(kSupportBundle);

}  // namespace
