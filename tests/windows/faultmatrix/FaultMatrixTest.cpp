// The fault matrix of the HTTP exchanges: every platform exchange that is
// built on FetchText (public address, version document, test number), the
// update download (FetchToFile), the report posts (PostForm) and the
// application probe (ProbeDownloadSpeed), each against a server that
// refuses, cannot be found, accepts and never answers, closes after the
// header, closes in the middle of the body, answers garbage, answers 404
// with a page, splits the header at every byte position, or sends far more
// than any buffer holds.
//
// For every case the test checks the result code, that what was stored is
// exactly what the rules say (the bytes after the first header end, cut at
// the text limit), and how long the exchange waited; it writes one table
// row per case into fault-matrix.md beside the test results. Nothing here
// may hang: the plain exchanges give up after ExchangeSilenceMs() without a
// byte, shortened here to kTestSilenceMs, while a silent server holds its
// connection for kSilentMs, far longer: a silent case that ended by the
// server giving up would show as waiting kSilentMs and fail.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/http/HttpClient_win.h"
#include "net/http/ReplyReader.h"
#include "tests/support/CommandDouble.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/ShortSilence.h"
#include "tests/support/StdoutCapture.h"

namespace {

constexpr DWORD kSilentMs = 20000;      // how long the silent server holds a connection
const std::string kHeader = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n";
const std::string kBody = "203.0.113.7 <release ver=\"2.22\"/> 20261209";

// What a server does with each connection, and the body a client keeps.
struct Fault {
  const char* name;
  std::function<void(LoopbackConnection&)> serve;  // null: connection refused / host not found
  std::string url;                                 // for the faults without a server
  std::string expectedBody;                        // what FetchText keeps
};

std::string Big() { return std::string(3u << 20, 'b'); }

std::vector<Fault> Faults() {
  std::vector<Fault> f;
  f.push_back({"connection refused", nullptr, LoopbackServer::RefusedUrl("/x.exe"), ""});
  // A ':' in the path of a URL without a port: the host "127.0.0.1/a" does not
  // resolve (no name query leaves the machine for it).
  f.push_back({"host not found", nullptr, "http://127.0.0.1/a:b/x.exe", ""});
  f.push_back({"accept, never answer",
               [](LoopbackConnection& c) { c.Hold(kSilentMs); }, "", ""});
  f.push_back({"close after the header",
               [](LoopbackConnection& c) {
                 if (c.ReadHeader()) c.Send(kHeader);
                 c.Close();
               },
               "", ""});
  f.push_back({"close mid-body (reset)",
               [](LoopbackConnection& c) {
                 if (c.ReadHeader()) c.Send(kHeader + kBody.substr(0, 11));
                 Sleep(100);
                 c.Abort();
               },
               "", kBody.substr(0, 11)});
  f.push_back({"garbage",
               [](LoopbackConnection& c) {
                 if (c.ReadHeader()) c.Send(std::string("\x00\x1b\r\r\n not http\n\n", 17));
                 c.Close();
               },
               "", ""});
  f.push_back({"404 with a body",
               [](LoopbackConnection& c) {
                 if (c.ReadHeader()) c.Send("HTTP/1.1 404 Not Found\r\nConnection: close\r\n\r\n<html>404</html>");
                 c.Close();
               },
               "", "<html>404</html>"});
  f.push_back({"reply far larger than any buffer (3 MiB body)",
               [](LoopbackConnection& c) {
                 if (c.ReadHeader()) c.Send(kHeader + Big());
                 c.Close();
               },
               "", std::string(vt::TextBodyCollector::kDefaultLimit, 'b')});
  return f;
}

struct Outcome {
  int32_t code = -1;
  std::string stored;  // body kept, file written, bytes the server received
  ULONGLONG ms = 0;
};

std::string TempFolder() {
  char dir[MAX_PATH];
  GetTempPathA(sizeof dir, dir);
  std::string folder = std::string(dir) + "vt_faults_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string ReadAndDelete(const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, &text)) return "<no file>";
  DeleteFileA(path.c_str());
  return text;
}

// One exchange against a URL; returns what it stored.
using Exchange = std::function<Outcome(const std::string& url)>;

struct NamedExchange {
  const char* name;
  Exchange run;
};

std::vector<NamedExchange> Exchanges(const std::string& folder) {
  return {
      {"FetchText (public address, version, test number)",
       [](const std::string& url) {
         vt::TransferJob job(url);
         Outcome o;
         o.code = vt::FetchText(&job);
         o.stored = job.body;
         return o;
       }},
      {"FetchToFile (update download)",
       [folder](const std::string& url) {
         Outcome o;
         o.code = vt::FetchToFile(url.c_str(), folder.c_str());
         o.stored = o.code == vt::Ok ? ReadAndDelete(folder + "x.exe") : "";
         return o;
       }},
      {"PostForm (report posts)",
       [](const std::string& url) {
         Outcome o;
         o.code = vt::PostForm(vt::ParseUrl(url), "seq=1&bandwidth=100\r\n\r\n");
         return o;
       }},
      {"ProbeDownloadSpeed (application probe, 1 attempt)",
       [](const std::string& url) {
         Outcome o;
         double speed = vt::ProbeDownloadSpeed(url.c_str(), 1);
         o.code = speed >= 0.0 ? 0 : -1;
         o.stored = speed > 0.0 ? "speed" : "";
         return o;
       }},
  };
}

std::string Describe(const std::string& stored) {
  if (stored.size() > 40) return std::to_string(stored.size()) + " bytes";
  std::string s;
  for (char c : stored) s += (c == '|' ? '/' : (c >= 0x20 && c < 0x7F ? c : '.'));
  return "\"" + s + "\"";
}

class FaultMatrix : public ::testing::Test {
 protected:
  static void TearDownTestSuite() {
    std::string path = std::string(VT_RESULTS_DIR) + "\\fault-matrix.md";
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fputs("| exchange | fault | result | stored | waited (ms) | bound | check |\n|---|---|---|---|---|---|---|\n", f);
    for (const std::string& row : rows_) fputs((row + "\n").c_str(), f);
    fclose(f);
  }
  static std::vector<std::string> rows_;
};
std::vector<std::string> FaultMatrix::rows_;

std::string SilenceBound() {
  return "silence bound: " + std::to_string(vt::kExchangeSilenceMs / 1000) + " s (" +
         std::to_string(kTestSilenceMs / 1000) + " s in this test)";
}

TEST_F(FaultMatrix, EveryExchangeAgainstEveryFault) {
  ShortSilence shortSilence;
  std::string folder = TempFolder();
  StdoutCapture log;  // the exchanges' log lines are not part of the table
  for (const NamedExchange& exchange : Exchanges(folder)) {
    for (const Fault& fault : Faults()) {
      std::unique_ptr<LoopbackServer> server;
      std::string url = fault.url;
      if (fault.serve) {
        server = std::make_unique<LoopbackServer>(fault.serve);
        ASSERT_TRUE(server->ok());
        url = server->Url("/x.exe");
      }
      ULONGLONG start = GetTickCount64();
      Outcome o = exchange.run(url);
      o.ms = GetTickCount64() - start;
      if (server) server->Stop();

      bool isText = std::string(exchange.name).rfind("FetchText", 0) == 0;
      bool isFile = std::string(exchange.name).rfind("FetchToFile", 0) == 0;
      bool isProbe = std::string(exchange.name).rfind("Probe", 0) == 0;
      bool noServer = !fault.serve;
      bool ok = true;
      std::string bound;
      bool silent = std::string(fault.name) == "accept, never answer";
      if (isProbe) {
        // The probe's worker is waited for 5 s and then stopped; a speed
        // comes only from a server that sent something.
        bool sends = !noServer && !silent;
        ok = (!o.stored.empty()) == sends && o.ms < 6000;
        bound = "5 s attempt, 0.1 s settle";
      } else {
        if (noServer) {
          ok = o.code == (std::string(fault.name) == "host not found" ? vt::HostNotFound : vt::ConnectFailed);
        } else {
          ok = o.code == vt::Ok;
          if (isText) ok = ok && o.stored == fault.expectedBody;
          if (isFile) {
            bool big = std::string(fault.name).find("larger") != std::string::npos;
            ok = ok && o.stored == (big ? Big() : fault.expectedBody);
          }
        }
        // A silent peer is left by the exchange's own bound: not before it,
        // and long before the server would have given up (wide margins: the
        // machines are noisy).
        if (silent) ok = ok && o.ms + 100 >= kTestSilenceMs && o.ms < kSilentMs / 2;
        bound = silent ? SilenceBound() : "the peer's close (" + SilenceBound() + ")";
        if (noServer) bound = "connect / name lookup";
      }
      EXPECT_TRUE(ok) << exchange.name << " / " << fault.name << ": code " << o.code << ", stored "
                      << Describe(o.stored) << ", " << o.ms << " ms";
      bool isPost = !isText && !isFile && !isProbe;
      std::string stored = isProbe ? (o.stored.empty() ? "speed 0" : "speed > 0") : isPost ? "-" : Describe(o.stored);
      rows_.push_back("| " + std::string(exchange.name) + " | " + fault.name + " | " +
                      (isProbe ? std::string("-") : std::to_string(o.code)) + " | " + stored +
                      " | " + std::to_string(o.ms) + " | " + bound + " | " + (ok ? "pass" : "FAIL") + " |");
    }
  }
  RemoveDirectoryA(folder.c_str());
}

TEST_F(FaultMatrix, HeaderSplitAtEveryBytePosition) {
  // The reply in two sends cut at every position of the header and the
  // first body byte: FetchText keeps exactly the body every time.
  const std::string reply = kHeader + kBody;
  int failures = 0;
  ULONGLONG worst = 0;
  StdoutCapture log;
  for (size_t cut = 1; cut <= kHeader.size() + 1; ++cut) {
    LoopbackServer server([&reply, cut](LoopbackConnection& c) {
      if (!c.ReadHeader()) return;
      c.SendPieces({reply.substr(0, cut), reply.substr(cut)}, 20);
      c.Close();
    });
    vt::TransferJob job(server.Url("/getip.php"));
    ULONGLONG start = GetTickCount64();
    int32_t code = vt::FetchText(&job);
    ULONGLONG ms = GetTickCount64() - start;
    if (ms > worst) worst = ms;
    if (code != vt::Ok || job.body != kBody) {
      ++failures;
      ADD_FAILURE() << "cut at " << cut << ": code " << code << ", body " << Describe(job.body);
    }
  }
  rows_.push_back("| FetchText (public address, version, test number) | header split at every byte position (" +
                  std::to_string(kHeader.size() + 1) + " cuts) | 0 | body intact at " +
                  std::to_string(kHeader.size() + 1 - failures) + " of " + std::to_string(kHeader.size() + 1) +
                  " | at most " + std::to_string(worst) + " | the peer's close | " + (failures ? "FAIL" : "pass") +
                  " |");
}

// A listener that never accepts, its accept queue filled by connections of
// our own: the system drops further connection requests, so a new connect
// neither completes nor fails until the client gives up.
class FullAcceptQueue {
 public:
  FullAcceptQueue() {
    LoopbackServer::StartWinsock();
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof a;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(listener_, 0) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &size) != 0)
      return;
    port_ = ntohs(a.sin_port);
    // Connect until one connect stays pending: the queue is full.
    for (int i = 0; i < 16 && !full_; ++i) {
      SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
      u_long nb = 1;
      ioctlsocket(s, FIONBIO, &nb);
      connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
      fillers_.push_back(s);
      fd_set w;
      FD_ZERO(&w);
      FD_SET(s, &w);
      timeval t = {0, 300000};
      if (select(0, nullptr, &w, nullptr, &t) == 0) full_ = true;
    }
  }
  ~FullAcceptQueue() {
    for (SOCKET s : fillers_) closesocket(s);
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
  }
  bool full() const { return full_; }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

 private:
  SOCKET listener_ = INVALID_SOCKET;
  std::vector<SOCKET> fillers_;
  uint16_t port_ = 0;
  bool full_ = false;
};

TEST_F(FaultMatrix, ConnectThatNeverCompletesEndsByTheBound) {
  FullAcceptQueue queue;
  if (!queue.full()) GTEST_SKIP() << "this system completes every connect to a full accept queue";
  ShortSilence shortSilence;
  std::string folder = TempFolder();
  StdoutCapture log;
  for (const NamedExchange& exchange : Exchanges(folder)) {
    if (std::string(exchange.name).rfind("Probe", 0) == 0) continue;  // the probe has its own 5 s bound
    ULONGLONG start = GetTickCount64();
    Outcome o = exchange.run(queue.Url("/x.exe"));
    o.ms = GetTickCount64() - start;
    bool ok = o.code == vt::ConnectFailed && o.ms + 100 >= kTestSilenceMs && o.ms < kSilentMs / 2;
    EXPECT_TRUE(ok) << exchange.name << ": code " << o.code << ", " << o.ms << " ms";
    rows_.push_back("| " + std::string(exchange.name) + " | connect never completes (accept queue full) | " +
                    std::to_string(o.code) + " | " +
                    (std::string(exchange.name).rfind("PostForm", 0) == 0 ? std::string("-") : Describe(o.stored)) +
                    " | " + std::to_string(o.ms) + " | " + SilenceBound() + " | " + (ok ? "pass" : "FAIL") + " |");
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace
