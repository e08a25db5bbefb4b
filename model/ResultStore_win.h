// Where result records are kept: the record (JSON) and its report page
// (HTML) side by side in one folder, by default the user's own local
// application data, %LOCALAPPDATA%\Veltrane\reports. Each save is a
// snapshot named after its time and test number,
//   veltrane-YYYYMMDD-HHMMSS-<test number>.json / .html,
// so names sort by time and an export never overwrites an earlier one.
//
// Paths are wide: a user name (and so the folder) may hold characters the
// ANSI code page lacks. Texts for people (problems, the path shown) are in
// the code page.
#pragma once

#include <string>
#include <vector>

#include "model/ResultCollector.h"
#include "model/ResultJson.h"

namespace vt {

// %LOCALAPPDATA%\Veltrane\reports; empty when the system names no such folder.
std::wstring DefaultReportFolder();

// Now, in local time: "2026-12-11T08:15:02+08:00".
std::string LocalTimeText();

struct SavedResult {
  bool ok = false;
  std::wstring recordPath;  // the .json
  std::wstring pagePath;    // the .html
  std::string problem;      // code page: why nothing (or not all) was written
};

// Saves a snapshot of the collector's record with the time of the save, the
// reason ("export", "close", "console"), the client's version and the
// server set in use. report: the form's figures as the model holds them
// (used when the record was never exported). Creates the folder as needed;
// writes each file whole under a temporary name first, so a reader never
// sees half a record.
SavedResult SaveResult(const ResultCollector& results, const ReportRecord& report, const char* because,
                       const std::wstring& folder);

struct ListedResult {
  std::wstring recordPath;
  bool ok = false;
  ResultSummary summary;  // when ok
  std::string problem;    // when not: why the file could not be read
};

// The records of a folder (veltrane-*.json), newest first by the save time
// in their names; at most limit.
std::vector<ListedResult> ListResults(const std::wstring& folder, size_t limit = 1000);

// A wide path in the code page for display ('?' for what it lacks), and a
// code-page path as a wide one.
std::string AnsiPath(const std::wstring& path);
std::wstring WidePath(const char* ansiPath);

}  // namespace vt
