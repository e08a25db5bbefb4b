// The exchanges with the platform server that run on threads of their own,
// and the report submission. Each thread makes one exchange, stores the
// reply in its process-wide text and, where it has a window, posts a message
// whose lParam points at that text (the texts live for the whole process;
// one exchange of each kind runs at a time, so a text is not replaced while
// a window still reads it).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/UIString.h"

// Process-wide replies, empty at start, each replaced whole by the next
// exchange of its kind.
extern CUIString PublicIpText;     // body of /getip.php
extern CUIString TestNumberReply;  // body of /getseq.php
extern CUIString LatestVersion;    // "ver" of the version document
extern CUIString UpdateUrl;        // "url" of the version document
extern CUIString AutoUpdateText;   // "autoupdate" of the version document

// Argument of TestNumberThread, owned by the settings window while it lives.
struct TestNumberRequest {
  HWND window = nullptr;  // notified with MSG_TEST_NUMBER; may be null
  CUIString query;        // "&User=%s&Pass=%s", appended as typed
};

// The fetching threads keep a reply only when it arrived whole (its declared
// length, or the server's orderly close): a reply cut by a reset or by the
// silence bound counts as no reply (empty).
//
// arg: the main window (may be null). Posts MSG_TROUBLE_RESULT(TR_PUBLIC_IP)
// with PublicIpText, also after a failure (then empty). Exit code 0.
unsigned __stdcall PublicIpThread(void* arg);
// Fetches the version document. Exit code 1 when its first element was read.
unsigned __stdcall VersionCheckThread(void* arg);
// Downloads UpdateUrl into the temporary folder under UpdateFileName().
// Exit code 0 when the temporary folder is unknown or the name is refused,
// else 1 once the download was attempted.
unsigned __stdcall UpdateDownloadThread(void* arg);
// Whether the last UpdateDownloadThread wrote the whole update: the body
// arrived complete (its declared Content-Length, or an orderly close when
// none is declared) and every byte reached the file. Reset when a download
// starts, set by the thread before it ends; read only after the thread has
// ended.
extern bool UpdateDownloadComplete;
// Fetches the update's signature (UpdateUrl with ".sig" appended) into
// UpdateSignature, at most kUpdateSignatureFetchLimit bytes. Asked for only
// when the client carries an update key. UpdateSignatureFetched: the reply
// was a 2xx and arrived whole within the limit. Same rules of reading as
// UpdateDownloadComplete. Exit code 0 when no name is usable, else 1.
// A signature is 64 bytes; anything past this limit is not kept.
constexpr size_t kUpdateSignatureFetchLimit = 1024;
unsigned __stdcall UpdateSignatureThread(void* arg);
extern std::string UpdateSignature;
extern bool UpdateSignatureFetched;
// arg: TestNumberRequest* (may be null). Posts MSG_TEST_NUMBER with wParam
// 0 (upgrade demanded), 1 (access denied) or 2 (granted; lParam points at
// TestNumberReply). Exit code 0.
unsigned __stdcall TestNumberThread(void* arg);

// The file name of the update: the last path segment of UpdateUrl, or empty
// when there is none or it is not a plain safe name (it becomes a path and
// a word of the copy command line).
std::string UpdateFileName();
// Where UpdateDownloadThread puts the update ("" when unknown or refused).
std::string UpdateDownloadPath();

// Posts the report body to the save path, then the same body to the query
// path, on the calling thread; the replies are read and discarded. Returns
// the save request's RequestResult, so the caller can tell a report that
// never reached the platform from one that did, or kReportNotAccepted
// (PlatformReplies.h) when the save request went out but its reply had no
// 2xx or 3xx status line (ReportSaveAccepted).
int32_t SubmitReport(const std::string& body);
