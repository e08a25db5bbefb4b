// veltrane-cli version | publicip | testnumber: the platform exchanges of the
// start-up, the diagnosis page and the settings window, one at a time.

#include <cstdio>
#include <cstring>
#include <string>

#include "base/Messages.h"
#include "base/Version.h"
#include "model/OwnFileVersion_win.h"
#include "cli/CliCommand.h"
#include "cli/EngineThread_win.h"
#include "cli/JsonLine.h"
#include "cli/JsonOutput_win.h"
#include "net/platform/PlatformReplies.h"
#include "net/platform/PlatformThreads_win.h"

namespace {

// The start-up waits this long for the version document.
const DWORD kVersionWaitMs = 5000;
// Bound for one platform exchange from the console (the window waits for
// these without a limit; a console run must end).
const DWORD kExchangeLimitMs = 60000;

void PrintLine(const vt::JsonObject& object) { vt::PrintJsonLine(object.Str()); }

int RunVersion(int argc, char** argv) {
  if (argc > 1) return CliUsage(argv[1]);
  VersionPair own = OwnFileVersion();
  unsigned read = 0;
  bool ended = vt::EngineRun::RunThreadAndWait(VersionCheckThread, nullptr, kVersionWaitMs, &read);
  vt::JsonObject out;
  out.Add("own_version", VELTRANE_VERSION_TEXT)
      .Add("own_major", static_cast<int64_t>(own.major))
      .Add("own_minor", static_cast<int64_t>(own.minor));
  if (!ended) {
    out.Add("document", "no answer within 5 s");
    PrintLine(out);
    return kCliUnreachable;
  }
  bool due = read == 1 && IsNewerVersion(own, LatestVersion.GetData());
  std::string fileName = UpdateFileName();
  out.Add("document_version", LatestVersion.GetData())
      .Add("update_url", UpdateUrl.GetData())
      .AddRaw("update_due", due ? "true" : "false");
  if (due) {
    out.Add("file_name", fileName.c_str());
    // A name that is not a plain file name is never downloaded.
    if (fileName.empty()) out.Add("refused", "the update's file name is not a plain file name");
  }
  PrintLine(out);
  return read == 1 ? kCliOk : kCliUnreachable;
}

int RunPublicIp(int argc, char** argv) {
  if (argc > 1) return CliUsage(argv[1]);
  vt::EngineRun run;
  std::string address;
  bool ended = vt::RunEngineThread(
                   run, PublicIpThread, run.window(),
                   [&](const vt::EngineMessage& m) {
                     if (m.message != vt::MSG_TROUBLE_RESULT || m.wParam != vt::TR_PUBLIC_IP) return false;
                     address = m.text ? m.text : "";
                     return true;
                   },
                   kExchangeLimitMs, true, [](UINT, WPARAM) { return 2; })
                   .over;
  if (!ended) return kCliFailed;
  vt::JsonObject out;
  out.Add("public_ip", address.c_str());
  PrintLine(out);
  return address.empty() ? kCliUnreachable : kCliOk;
}

int RunTestNumber(int argc, char** argv) {
  const char* user = nullptr;
  const char* pass = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--user") == 0 && i + 1 < argc) user = argv[++i];
    else if (strcmp(argv[i], "--pass") == 0 && i + 1 < argc) pass = argv[++i];
    else return CliUsage(argv[i]);
  }
  if (!user || !pass) return CliUsage(nullptr);
  vt::EngineRun run;
  // Lives until the process ends: the thread may outlive the wait.
  auto* request = new TestNumberRequest;
  request->window = run.window();
  request->query.Format("&User=%s&Pass=%s", user, pass);
  WPARAM kind = 0;
  bool ended = vt::RunEngineThread(
                   run, TestNumberThread, request,
                   [&](const vt::EngineMessage& m) {
                     if (m.message != vt::MSG_TEST_NUMBER) return false;
                     kind = m.wParam;
                     return true;
                   },
                   kExchangeLimitMs, true)
                   .over;
  if (!ended) return kCliFailed;
  static const char* const kNames[] = {"NEED_UPDATE", "ACCESS_DENY", "granted"};
  bool empty = kind == 2 && TestNumberReply.IsEmpty();
  vt::JsonObject out;
  out.Add("reply", empty ? "no answer" : kNames[kind < 3 ? kind : 2])
      .Add("test_number", kind == 2 ? TestNumberReply.GetData() : "");
  PrintLine(out);
  if (kind == 0) return kCliNeedUpdate;
  if (kind == 1) return kCliRefused;
  return empty ? kCliUnreachable : kCliOk;
}

const CliCommand kVersion = {"version", "", RunVersion};
const CliCommand kPublicIp = {"publicip", "", RunPublicIp};
const CliCommand kTestNumber = {"testnumber", "--user U --pass P", RunTestNumber};
CliCommandRegistrar g_version(kVersion);
CliCommandRegistrar g_publicIp(kPublicIp);
CliCommandRegistrar g_testNumber(kTestNumber);

}  // namespace
