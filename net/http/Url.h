// URL parsing: UrlParts and ParseUrl, plus the port conversion
// every request routine applies (htons(atoi(port))).
#pragma once

#include <cstdint>
#include <string>

namespace vt {

// The parsed form of a URL. Each field keeps its default when the URL does
// not supply it. The scheme is recorded and never acted on: every exchange is
// plain TCP to `port`.
struct UrlParts {
  std::string scheme = "http";  // text before "://"
  std::string host;             // host name or dotted IPv4 address
  std::string port = "80";      // as text; converted with PortNumber when used
  std::string path = "/";       // from the first "/" after the host, query included
  std::string fileName;         // text after the last "/" of path, when not empty
};

// Parses url (a ":" anywhere after the scheme ends the host,
// the path included). A null url gives the defaults. Any text is accepted:
// the fields are copies of pieces of it, so nothing has a length limit.
UrlParts ParseUrl(const char* url);
inline UrlParts ParseUrl(const std::string& url) { return ParseUrl(url.c_str()); }

// The port number as the socket code uses it: the C library's atoi of the
// text (leading blanks, an optional sign, the leading digits; anything else
// gives 0), then cut to 16 bits as htons does with an int. Where atoi would
// overflow (undefined behaviour), the value saturates at INT_MAX / INT_MIN
// like strtol, so "99999999999" gives 65535 and "-1" gives 65535.
uint16_t PortNumber(const std::string& port);

}  // namespace vt
