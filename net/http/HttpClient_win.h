// The request routines that the rest of the system calls:
// FetchText, FetchToFile, PostForm, TimedDownload and ProbeDownloadSpeed.
// All of them block the calling thread until the exchange ends and return a
// RequestResult (TransferJob.h); diagnostic lines go to the log (HttpLog.h).
//
// Users: the platform exchanges (net/platform: public address, version document,
// test number and the update download through FetchText / FetchToFile, the
// report through PostForm) and the application experience test (engines/apptest,
// through ProbeDownloadSpeed).
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "net/http/TransferJob.h"
#include "net/http/Url.h"

namespace vt {

// The bound of the plain exchanges (FetchText, FetchToFile, PostForm): the
// connect, every send and every receive give up after this long without
// progress. A working exchange is never cut by it: it measures silence
// between bytes, not the length of the transfer, and no server that is
// still serving falls silent for 30 s. It is what keeps a platform that
// accepts and never answers from holding the report button (SubmitReport
// runs on the window's thread) or a platform thread for ever.
constexpr DWORD kExchangeSilenceMs = 30000;
// The bound in force (kExchangeSilenceMs unless a test shortened it), and
// the setter tests use to keep silent-peer cases fast; 0 restores the
// default. Read when an exchange opens its connection.
DWORD ExchangeSilenceMs();
void SetExchangeSilenceMs(DWORD ms);

// GET job->url and keep the reply body as text in job->body (replacing what
// it held once the request is sent); job->bytesReceived counts every byte
// received, header included. The body is every byte after the first
// "\r\n\r\n" of the reply, however the receives cut the reply; a body larger
// than TextBodyCollector::kDefaultLimit (1 MiB) is cut there and the
// exchange ends. The header is not interpreted: a 404 page is a body like
// any other. Blocking socket bounded by ExchangeSilenceMs(): a connect that
// does not complete within it fails (ConnectFailed), a receive that waits
// longer is a receive error and ends the exchange with what arrived.
// Result: Ok (also after a receive error or time-out, logged "recv err", or
// the peer's close, logged "Ret 0"), StartupFailed, HostNotFound, ConnectFailed
// (logged "connnect failed"), SendFailed (logged "send err").
int32_t FetchText(TransferJob* job);
// The same, and tally tells whether the reply arrived whole: the header
// ended, and the body has its declared Content-Length or, without one, the
// peer closed in order (DownloadTally.h). A body cut at the limit is not
// whole. tally may be null.
class DownloadTally;
int32_t FetchText(TransferJob* job, DownloadTally* tally);
// The same with a body limit of bodyLimit bytes instead of 1 MiB, for replies
// known to be small (an update's signature): receiving stops there.
int32_t FetchText(TransferJob* job, DownloadTally* tally, size_t bodyLimit);

// GET url and write the reply body to folder + fileName of the URL (no
// separator inserted), created or overwritten ("wb"). Every body byte is
// written, however the receives cut the reply. Results as FetchText, plus
// FileOpenFailed when the file cannot be created (a URL ending in "/" has no
// file name, so the path is the folder itself and creating it fails). The
// request is sent before the file is created. A receive error, or
// ExchangeSilenceMs() without a byte, ends the loop silently (the tally then
// says the file is incomplete).
int32_t FetchToFile(const char* url, const char* folder);
// The same, and tally tells whether the file got the whole body: the body
// bytes against the reply's Content-Length, an orderly close, every write
// done (DownloadTally.h). tally may be null.
int32_t FetchToFile(const char* url, const char* folder, DownloadTally* tally);

// POST body to url as application/x-www-form-urlencoded, declaring the body
// length less 2 (HttpRequest.h) and sending every byte; the reply is read
// until the server closes, a receive fails or ExchangeSilenceMs() passes
// without a byte, and discarded. Results as FetchText (no "Ret 0").
int32_t PostForm(const UrlParts& url, const std::string& body);
// The same, and tally reads the reply as it comes (its status, whether it
// arrived whole), so the caller can tell an accepted post from an error page
// or a server that never answered. tally may be null.
int32_t PostForm(const UrlParts& url, const std::string& body, DownloadTally* tally);

// One attempt of the speed probe: a job and the stop signal of that attempt,
// shared by the probe and its TimedDownload worker (see ProbeDownloadSpeed).
struct ProbeAttempt;

// Thread procedure: GET the attempt's job->url, count the reply bytes until
// the server closes, a receive fails or the attempt's stop is signalled, and
// then, only if the transfer (from the end of the send) took less than
// 5000 ms, store bytesReceived and speedMbps (DownloadSpeed.h). arg is a
// heap-allocated std::shared_ptr<ProbeAttempt>* that the worker takes over
// and deletes. Exit code: the RequestResult.
//
// Instead of one process-wide MeasureStopEvent that each attempt replaces
// (which a late worker could see reset for the next attempt), every attempt carries its own stop signal and
// job and the worker holds a share of them: a worker that outlives its attempt still polls the stop of its
// own attempt (already signalled) and writes only into its own job, which lives until the worker lets go of
// it; it can neither write into released memory nor count toward a later attempt.
unsigned __stdcall TimedDownload(void* arg);

// Timing of the probe; the defaults are the product's. Tests shorten them.
struct ProbeTiming {
  DWORD attemptWaitMs = 5000;  // how long the probe waits for the worker
  DWORD settleMs = 100;        // after the stop: the most the probe waits for the worker to finish
  DWORD pollMs = 50;           // the worker's stoppable waits (Socket_win.h), below settleMs
};

// What one attempt contributed (for tests and diagnostics).
struct ProbeAttemptReport {
  bool finished = false;  // the worker had ended its transfer when the probe read the job
  uint32_t bytesReceived = 0;
  double speedMbps = 0.0;
};

// Runs TimedDownload `attempts` times on url, one at a time: a fresh job and
// stop signal per attempt, a new thread waited for at most 5000 ms, then the
// stop, then at most 100 ms for the worker to finish (a 100 ms pause,
// ended early when the worker is done). Each attempt logs
// "http download OK:<url> Recv:<n> Speed:<s>" and adds its speed; an
// attempt whose worker has not finished by then, that took 5000 ms or more
// from the end of its send, or that received nothing, adds 0. Returns the
// sum divided by attempts (Mbit/s), 0.0 when attempts is not positive.
// Thread handles are closed and each attempt's event is released when both
// the probe and the worker are done with it.
double ProbeDownloadSpeed(const char* url, int attempts);
double ProbeDownloadSpeed(const char* url, int attempts, const ProbeTiming& timing,
                          std::vector<ProbeAttemptReport>* reports);

// Probe attempts whose records are still alive (held by a late worker or a
// running probe). For tests: 0 once every worker has let go.
int ProbeAttemptsAlive();

}  // namespace vt
