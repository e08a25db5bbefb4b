// What a file download received, told apart from what the reply promised:
// the header's Content-Length (when it declares one) against the body bytes
// that actually arrived. Fed the reply in any chunking, like HeaderEndFinder.
//
// Used by FetchToFile's reporting overload, so the self-update installs only
// a download that arrived whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "net/http/ReplyReader.h"

namespace vt {

class DownloadTally {
 public:
  static constexpr size_t kHeaderLimit = 16384;  // header bytes kept for reading; the rest still counted

  // Feeds the next chunk; returns the offset at which its body bytes start
  // (as HeaderEndFinder::Feed).
  size_t Feed(const char* data, size_t len);
  // The transfer ended with the peer's orderly close (not an error, a stop
  // or a failed write).
  void NoteOrderlyClose() { orderlyClose_ = true; }
  // A body byte could not be stored: the download is incomplete whatever came.
  void NoteWriteFailed() { writeFailed_ = true; }

  bool HeaderDone() const { return finder_.HeaderDone(); }
  uint64_t BodyBytes() const { return bodyBytes_; }
  // The Content-Length of the header: -1 when none (or not yet read), -2
  // when the header declares it unreadably or twice with different values.
  int64_t DeclaredLength() const { return declared_; }
  // The status code of the reply's first line, 0 when it has none readable
  // or the header has not ended yet.
  int Status() const { return status_; }
  // Whole: the header ended, nothing failed to be written, and the body is
  // exactly the declared length, or, when no length is declared, the peer
  // closed in order.
  bool Complete() const;

 private:
  void ReadHeader();

  HeaderEndFinder finder_;
  std::string header_;
  uint64_t bodyBytes_ = 0;
  int64_t declared_ = -1;
  int status_ = 0;
  bool orderlyClose_ = false;
  bool writeFailed_ = false;
};

// The Content-Length of a reply header (the bytes up to the blank line):
// -1 when there is none, -2 when it is not a plain decimal number or is given
// twice with different values. Names are compared without case; blanks
// around the value are allowed.
int64_t ReadContentLength(const std::string& header);
// The status code of a reply header's first line ("HTTP/1.1 404 Not Found"
// gives 404), or 0 when the line is no status line.
int ReadStatusCode(const std::string& header);

}  // namespace vt
