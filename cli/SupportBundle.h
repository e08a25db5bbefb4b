// What veltrane-cli support-bundle packs: which files of the program's
// local data folder (%LOCALAPPDATA%\Veltrane) go into the archive for the
// support desk, and the note that travels with them.
//
//   logs\veltrane-YYYYMMDD.log   the last kLogKeepDays days (by the name's date)
//   logs\crash-*.txt, *.dmp      every crash report kept (at most kCrashReportsKept)
//   reports\*                    result records written in the last kLogKeepDays days
//
// Anything else (other names, older files) stays out, and so does what
// would take the archive past kBundleBytes; the note lists what was left
// out and why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vt {

constexpr uint64_t kBundleBytes = 256ull * 1024 * 1024;

struct BundleFile {
  std::string folder;  // "logs" or "reports"
  std::string name;
  uint64_t size = 0;
  int day = 0;  // YYYYMMDD of its last write
};

struct BundleChoice {
  std::vector<BundleFile> taken;
  std::vector<std::pair<BundleFile, std::string>> left;  // and why
};

// files: everything found in the two folders; today: YYYYMMDD.
BundleChoice ChooseBundleFiles(const std::vector<BundleFile>& files, int today);

// bundle.txt: who made it, from where, what it holds and what it left out.
// Lines end in "\r\n".
std::string BundleNote(const BundleChoice& choice, const std::string& madeBy, const std::string& source);

}  // namespace vt
