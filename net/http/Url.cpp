#include "net/http/Url.h"

#include <climits>
#include <cstring>

namespace vt {

namespace {

// fileName is the text after the last "/" of path (query included), only
// when that text is not empty.
void SetFileName(UrlParts& parts) {
  size_t slash = parts.path.rfind('/');
  if (slash != std::string::npos && slash + 1 < parts.path.size())
    parts.fileName = parts.path.substr(slash + 1);
}

}  // namespace

UrlParts ParseUrl(const char* url) {
  UrlParts parts;
  if (!url) return parts;
  std::string rest(url);

  size_t scheme = rest.find("://");
  if (scheme != std::string::npos) {
    parts.scheme = rest.substr(0, scheme);
    rest.erase(0, scheme + 3);
  }

  size_t colon = rest.find(':');
  if (colon != std::string::npos) {
    parts.host = rest.substr(0, colon);
    size_t slash = rest.find('/', colon + 1);
    if (slash != std::string::npos) {
      parts.port = rest.substr(colon + 1, slash - colon - 1);
      parts.path = rest.substr(slash);
      SetFileName(parts);
    } else {
      parts.port = rest.substr(colon + 1);
    }
    return parts;
  }

  size_t slash = rest.find('/');
  if (slash != std::string::npos) {
    parts.host = rest.substr(0, slash);
    parts.path = rest.substr(slash);
    SetFileName(parts);
  } else {
    parts.host = rest;
  }
  return parts;
}

uint16_t PortNumber(const std::string& port) {
  const char* p = port.c_str();
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {  // saturate, as strtol does
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative) {
    value = -value;
  } else if (value > INT_MAX) {
    value = INT_MAX;
  }
  // htons takes an unsigned short: the int is cut to its low 16 bits.
  return static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(value)) & 0xFFFFu);
}

}  // namespace vt
