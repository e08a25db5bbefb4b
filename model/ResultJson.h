// The result record as a file: UTF-8 JSON with a schema version
// (docs/result-record.md), and the few figures read back from such a file
// for the list of saved results. Texts of the record are in the system code
// page and are converted with the decoder the caller hands in
// (base/CodePage.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/CodePage.h"
#include "model/ResultRecord.h"

namespace vt {

// The largest record file a reader accepts (a record is a few kilobytes).
constexpr size_t kResultFileLimit = 1024 * 1024;

std::string ResultJson(const ResultRecord& record, DoubleByteDecoder decode);

// Appends a JSON string literal of UTF-8 text: quotes, backslashes and
// control characters escaped, anything that is not well-formed UTF-8
// written as U+FFFD, and U+2028/U+2029 escaped (so the text can sit inside
// a script or be pasted into one).
void AppendJsonUtf8(std::string& out, const std::string& utf8);

// What the list of saved results shows of one record. Texts are UTF-8.
struct ResultSummary {
  int schemaVersion = 0;
  std::string testNumber;
  std::string startedAt;
  std::string savedAt;
  std::string verdict;
  std::string exportState;
  int32_t mode = 0;
  int32_t level = 0;
  std::string lineBandwidth;
  bool hasDownload = false, hasUpload = false;
  double downloadMbps = 0.0, uploadMbps = 0.0;
};

// Reads a record file's summary. False, with the reason in *problem, for a
// file that is not JSON, not a result record, or of a newer major schema.
bool ReadResultSummary(const char* data, size_t len, ResultSummary* out, std::string* problem);

}  // namespace vt
