#include "net/http/DownloadTally.h"

namespace vt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithName(const std::string& line, const char* name) {
  size_t i = 0;
  for (; name[i]; ++i)
    if (i >= line.size() || Lower(line[i]) != name[i]) return false;
  return true;
}

// The value of one "Content-Length:" line: -2 unless digits only (blanks around).
int64_t LengthValue(const std::string& line, size_t from) {
  size_t i = from;
  while (i < line.size() && IsBlank(line[i])) ++i;
  size_t end = line.size();
  while (end > i && IsBlank(line[end - 1])) --end;
  if (i == end || end - i > 18) return -2;  // 18 digits stay far below int64's limit
  int64_t value = 0;
  for (; i < end; ++i) {
    if (line[i] < '0' || line[i] > '9') return -2;
    value = value * 10 + (line[i] - '0');
  }
  return value;
}

}  // namespace

int ReadStatusCode(const std::string& header) {
  // "HTTP/" version, one blank, three digits, then a blank or the line's end.
  if (header.compare(0, 5, "HTTP/") != 0) return 0;
  size_t blank = header.find(' ');
  size_t eol = header.find("\r\n");
  if (blank == std::string::npos || (eol != std::string::npos && blank > eol) || header.size() < blank + 4)
    return 0;
  int code = 0;
  for (size_t i = blank + 1; i < blank + 4; ++i) {
    if (header[i] < '0' || header[i] > '9') return 0;
    code = code * 10 + (header[i] - '0');
  }
  if (header.size() > blank + 4 && header[blank + 4] != ' ' && header[blank + 4] != '\r') return 0;
  return code;
}

int64_t ReadContentLength(const std::string& header) {
  static const char kName[] = "content-length:";
  int64_t found = -1;
  size_t pos = header.find("\r\n");  // the status line is no field
  while (pos != std::string::npos) {
    size_t start = pos + 2;
    size_t end = header.find("\r\n", start);
    std::string line = header.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (StartsWithName(line, kName)) {
      int64_t value = LengthValue(line, sizeof kName - 1);
      if (value == -2) return -2;
      if (found >= 0 && found != value) return -2;
      found = value;
    }
    pos = end;
  }
  return found;
}

size_t DownloadTally::Feed(const char* data, size_t len) {
  bool wasDone = finder_.HeaderDone();
  size_t start = finder_.Feed(data, len);
  if (!wasDone) {
    size_t room = header_.size() < kHeaderLimit ? kHeaderLimit - header_.size() : 0;
    header_.append(data, start < room ? start : room);
    if (finder_.HeaderDone()) ReadHeader();
  }
  bodyBytes_ += len - start;
  return start;
}

void DownloadTally::ReadHeader() {
  // A header longer than the limit lost its end: its length cannot be trusted.
  declared_ = header_.size() >= kHeaderLimit ? -2 : ReadContentLength(header_);
  status_ = ReadStatusCode(header_);
  header_.clear();
  header_.shrink_to_fit();
}

bool DownloadTally::Complete() const {
  if (!finder_.HeaderDone() || writeFailed_) return false;
  if (declared_ == -2) return false;
  if (declared_ >= 0) return bodyBytes_ == static_cast<uint64_t>(declared_);
  return orderlyClose_;
}

}  // namespace vt
