// The servers the client talks to: the platform host and the server tables.
// One set is in use per process. It starts as the production set compiled
// in here and may be replaced once at start-up, before any thread runs, by
// a set read from veltrane.ini (config/ServerSetIni.h, ServerSetFile_win.h).
// Threads keep pointers into the set in use, so it is never changed again
// and never destroyed.
#pragma once

#include <string>

namespace vt {

struct ServerSet {
  // Host of the platform server (port 80): every platform URL, the ping and
  // route-trace target, the test image's host and, with ":80", the host of
  // the report document's address. A plain host name or dotted address.
  std::string platformServer;
  // Download phase, metropolitan mode: test servers 1, 2, the platform, 3.
  std::string MetroDownloadTable[4];
  // Download phase, Internet mode: sixteen large public files, port 80.
  std::string InternetDownloadTable[16];
  // Upload phase, metropolitan mode: test servers 1, 2, the platform, 3 to 7.
  std::string MetroUploadTable[8];
  // Upload phase, Internet mode: test server 8, the platform, test servers 3 to 6.
  std::string InternetUploadTable[6];
  // Application sites 1 to 6 (three portals, three webmail services); site
  // 7, the platform's test image, is built from platformServer.
  std::string AppTestSites[6];
  // The operator's public key for signed updates (128 hexadecimal digits,
  // X and Y of an ECDSA P-256 point); empty when none is configured, and
  // updates then install unverified.
  std::string updatePublicKey;
  // Where the set came from: "compiled-in" or the path of its file.
  std::string origin;
};

// The production set compiled into the program.
const ServerSet& ProductionServers();

// The set in use: the production set until UseServers replaces it.
const ServerSet& Servers();

// Replaces the set in use. Only at start-up, before any thread is started:
// the texts of the previous set are released.
void UseServers(const ServerSet& set);

// The start-up diagnostic line (without line end): the platform host,
// whether an update key is set, and where the set came from.
std::string ServerSetSummary(const ServerSet& set);

}  // namespace vt
