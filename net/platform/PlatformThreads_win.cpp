#include "net/platform/PlatformThreads_win.h"

#include "base/Messages.h"
#include "config/ServerSet.h"
#include "net/http/DownloadTally.h"
#include "net/http/HttpLog.h"
#include "net/http/HttpClient_win.h"
#include "net/http/TransferJob.h"
#include "net/http/Url.h"
#include "net/platform/PlatformReplies.h"
#include "net/platform/VersionDocument.h"

CUIString PublicIpText;
CUIString TestNumberReply;
CUIString LatestVersion;
CUIString UpdateUrl;
CUIString AutoUpdateText;
bool UpdateDownloadComplete = false;
std::string UpdateSignature;
bool UpdateSignatureFetched = false;

namespace {

std::string PlatformUrl(const char* path) { return "http://" + vt::Servers().platformServer + path; }

void LogExchange(const char* method, const std::string& url, int32_t result, const vt::DownloadTally& tally) {
  vt::LogLine(vt::ExchangeLogLine(method, url, result, tally.Status(), tally.BodyBytes(), tally.Complete()).c_str());
}

// The body of a GET of url, "" when the exchange failed or the reply did
// not arrive whole (reset or silent in mid-reply, shorter than its declared
// length): a cut reply would otherwise pass for a real one, a test number
// "2026" for "20261209", a public address "203.0" for "203.0.113.7". Like
// every failed exchange, it then reads as no answer. So does a reply whose
// status is not 2xx: an error page ("<html>404</html>") is no test number,
// no public address and no version document.
std::string Fetch(const std::string& url) {
  vt::TransferJob job(url);
  vt::DownloadTally tally;
  int32_t result = vt::FetchText(&job, &tally);
  LogExchange("GET", url, result, tally);
  return tally.Complete() && tally.Status() / 100 == 2 ? job.body : std::string();
}

}  // namespace

unsigned __stdcall PublicIpThread(void* arg) {
  std::string body = Fetch(PlatformUrl("/getip.php"));
  PublicIpText.Assign(body.data(), body.size());
  HWND window = static_cast<HWND>(arg);
  if (window)
    PostMessageA(window, vt::MSG_TROUBLE_RESULT, vt::TR_PUBLIC_IP,
                 reinterpret_cast<LPARAM>(PublicIpText.GetData()));
  return 0;
}

unsigned __stdcall VersionCheckThread(void*) {
  std::string body = Fetch(PlatformUrl("/version.xml"));
  if (body.empty()) return 0;
  VersionDocument doc;
  if (!ReadVersionDocument(body.c_str(), &doc)) return 0;
  LatestVersion = doc.version.c_str();
  UpdateUrl = doc.url.c_str();
  AutoUpdateText = doc.autoUpdate.c_str();
  return 1;
}

std::string UpdateFileName() {
  std::string name = vt::ParseUrl(UpdateUrl.GetData()).fileName;
  return IsSafeUpdateFileName(name.c_str()) ? name : std::string();
}

std::string UpdateDownloadPath() {
  char folder[MAX_PATH + 1];
  DWORD n = GetTempPathA(MAX_PATH, folder);
  if (n == 0 || n > MAX_PATH) return std::string();
  std::string name = UpdateFileName();
  if (name.empty()) return std::string();
  return std::string(folder) + name;
}

unsigned __stdcall UpdateDownloadThread(void*) {
  UpdateDownloadComplete = false;
  char folder[MAX_PATH + 1];
  DWORD n = GetTempPathA(MAX_PATH, folder);
  if (n == 0 || n > MAX_PATH) return 0;
  // A name that could leave the temporary folder or smuggle a command into
  // the copy command line is not downloaded at all.
  if (UpdateFileName().empty()) return 0;
  vt::DownloadTally tally;
  int32_t result = vt::FetchToFile(UpdateUrl.GetData(), folder, &tally);
  LogExchange("GET", UpdateUrl.GetData(), result, tally);
  UpdateDownloadComplete = result == vt::Ok && tally.Complete();
  return 1;
}

unsigned __stdcall UpdateSignatureThread(void*) {
  UpdateSignature.clear();
  UpdateSignatureFetched = false;
  if (UpdateFileName().empty()) return 0;
  vt::TransferJob job(std::string(UpdateUrl.GetData()) + ".sig");
  vt::DownloadTally tally;
  // A reply longer than the limit is cut there and so not whole: refused.
  int32_t result = vt::FetchText(&job, &tally, kUpdateSignatureFetchLimit);
  LogExchange("GET", job.url, result, tally);
  UpdateSignatureFetched = result == vt::Ok && tally.Complete() && tally.Status() / 100 == 2;
  if (UpdateSignatureFetched) UpdateSignature = job.body;
  return 1;
}

unsigned __stdcall TestNumberThread(void* arg) {
  auto* request = static_cast<TestNumberRequest*>(arg);
  if (!request) return 0;
  std::string body = Fetch(BuildTestNumberUrl(request->query.GetData()));
  TestNumberReply.Assign(body.data(), body.size());
  if (request->window) {
    TestNumberReplyKind kind = ClassifyTestNumberReply(TestNumberReply.GetData());
    LPARAM text =
        kind == TestNumberReplyKind::Granted ? reinterpret_cast<LPARAM>(TestNumberReply.GetData()) : 0;
    PostMessageA(request->window, vt::MSG_TEST_NUMBER, static_cast<WPARAM>(kind), text);
  }
  return 0;
}

int32_t SubmitReport(const std::string& body) {
  vt::DownloadTally tally;
  std::string saveUrl = PlatformUrl("/sp/index.php?c=savereport&a=save");
  int32_t saved = vt::PostForm(vt::ParseUrl(saveUrl), body, &tally);
  LogExchange("POST", saveUrl, saved, tally);
  std::string queryUrl = PlatformUrl("/report/query.php");
  vt::DownloadTally queryTally;
  LogExchange("POST", queryUrl, vt::PostForm(vt::ParseUrl(queryUrl), body, &queryTally), queryTally);
  // A status line is the platform's word on the save; the body that
  // follows it is discarded anyway, so it need not arrive whole.
  if (saved == vt::Ok && !ReportSaveAccepted(tally.Status())) return kReportNotAccepted;
  return saved;
}
