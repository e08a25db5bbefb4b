#include "cli/SupportBundle.h"

#include <algorithm>

#include "base/LogFileRules.h"

namespace vt {

namespace {

bool IsCrashFile(const std::string& name) {
  if (name.compare(0, 6, "crash-") != 0 || name.size() < 10) return false;
  std::string tail = name.substr(name.size() - 4);
  return tail == ".txt" || tail == ".dmp";
}

// Why a file stays out, "" when it goes in (the size limit aside).
std::string ReasonToLeave(const BundleFile& f, int today) {
  if (f.folder == "logs") {
    if (IsCrashFile(f.name)) return "";
    int date = LogFileDate(f.name);
    if (date == 0) return "not a log file";
    return DaysBetween(date, today) < kLogKeepDays ? "" : "older than 7 days";
  }
  if (f.folder == "reports") return DaysBetween(f.day, today) < kLogKeepDays ? "" : "older than 7 days";
  return "not a folder of the bundle";
}

}  // namespace

BundleChoice ChooseBundleFiles(const std::vector<BundleFile>& files, int today) {
  BundleChoice choice;
  std::vector<BundleFile> wanted;
  for (const BundleFile& f : files) {
    std::string why = ReasonToLeave(f, today);
    if (why.empty()) wanted.push_back(f);
    else choice.left.emplace_back(f, why);
  }
  // Newest first, so that the size limit leaves out the oldest; crash
  // reports and logs of the same day are worth the same.
  std::stable_sort(wanted.begin(), wanted.end(), [](const BundleFile& a, const BundleFile& b) {
    if (a.day != b.day) return a.day > b.day;
    if (a.folder != b.folder) return a.folder < b.folder;
    return a.name < b.name;
  });
  uint64_t total = 0;
  for (const BundleFile& f : wanted) {
    if (f.size > kBundleBytes - total) {
      choice.left.emplace_back(f, "the bundle's size limit");
      continue;
    }
    total += f.size;
    choice.taken.push_back(f);
  }
  return choice;
}

std::string BundleNote(const BundleChoice& choice, const std::string& madeBy, const std::string& source) {
  std::string note = "Veltrane support bundle\r\nmade by: " + madeBy + "\r\nfrom: " + source + "\r\n\r\ncontents:\r\n";
  if (choice.taken.empty()) note += "  (no log, crash report or result record found)\r\n";
  for (const BundleFile& f : choice.taken)
    note += "  " + f.folder + "/" + f.name + " (" + std::to_string(f.size) + " bytes)\r\n";
  if (!choice.left.empty()) {
    note += "\r\nleft out:\r\n";
    for (const auto& [f, why] : choice.left) note += "  " + f.folder + "/" + f.name + ": " + why + "\r\n";
  }
  return note;
}

}  // namespace vt
