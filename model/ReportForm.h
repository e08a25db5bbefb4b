// The report form sent to the platform and the rules around it.
#pragma once

#include <string>

#include "model/ReportRecord.h"

namespace vt {

constexpr size_t kReportBodyLimit = 4096;    // bytes, terminator included
constexpr size_t kReportAddressLimit = 128;  // bytes, terminator included

// "seq=…&mod=…&…&bandwidth=…\r\n\r\n". Texts go in unescaped, as the platform
// reads them. A body that would not fit its buffer has its longest texts cut
// (at a character boundary) until it fits; the closing "\r\n\r\n" always stays.
std::string BuildReportBody(const ReportRecord& report, const char* userInfo, const char* lineBandwidth);

// The 90 % rule: the document is refused when the download speed is at or
// below 90 % of the contracted bandwidth.
bool ReportMeetsBandwidth(const ReportRecord& report);

// "http://" + platform + ":80/report/<seq>.docx", at most 127 bytes: a long
// test number is cut at a character boundary.
std::string ReportDocumentAddress(const char* platform, const char* seq);

// Whether the user-information window accepts a contracted bandwidth: not
// empty, and read with C atof it is greater than 0 ("100M", " 20" and "0.5"
// pass; "abc", "0", "-5" do not).
bool AcceptLineBandwidth(const char* text);

// The contracted bandwidth as a number, read as C atoi reads it ("100M" is 100).
int ParseLineBandwidth(const char* text);

}  // namespace vt
