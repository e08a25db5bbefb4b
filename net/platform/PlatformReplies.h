// The platform's replies and the requests built for it, as plain text.
#pragma once

#include <cstdint>
#include <string>

// SubmitReport's result when the save request went out but its reply had no
// 2xx or 3xx status line (an error page, garbage, a cut status line, or no
// reply at all): the platform did not say it stored the report, so it is not
// reported as exported. The other results are the save request's
// RequestResult (0: accepted).
constexpr int32_t kReportNotAccepted = 7;

// Whether the status code of the save reply says the report was stored:
// 2xx, or 3xx (a save action commonly answers its form post with a
// redirect to the stored report; counting that as failed would make the
// user post the same report again). 0 (no readable status line), 1xx, 4xx
// and 5xx are not.
bool ReportSaveAccepted(int status);

// "http://" + platformServer + "/getseq.php?v=1.0.10" + query; the query
// ("&User=%s&Pass=%s") goes out as typed, without percent-encoding: the
// platform reads it that way.
std::string BuildTestNumberUrl(const char* query);

enum class TestNumberReplyKind { NeedUpdate = 0, AccessDenied = 1, Granted = 2 };

// Whole-text, case-sensitive comparison: "NEED_UPDATE" and "ACCESS_DENY"
// are refusals, anything else (even "NEED_UPDATE\n") is a test number.
TestNumberReplyKind ClassifyTestNumberReply(const char* reply);

// Whether the last path segment of an update URL may be used as the file
// name of the download: it becomes a path in the temporary folder and a
// word of the command line that copies the update into place, so only plain
// names of letters, digits, '.', '_' and '-' (not starting with '.', at most
// 100 bytes) are accepted.
bool IsSafeUpdateFileName(const char* name);
