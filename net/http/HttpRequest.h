// The request bytes of the HTTP client, composed in memory and handed to one send.
#pragma once

#include <string>

#include "net/http/Url.h"

namespace vt {

// The one User-Agent line of every request of the system.
extern const char kUserAgentLine[];

// Appends the first two lines every request starts with:
// "<method> <path> HTTP/1.1", then "Host: <host>" (without the port).
void AppendRequestHead(std::string& request, const char* method, const UrlParts& url);

// GET (TimedDownload, FetchText, FetchToFile, the bandwidth download
// workers): request line, Host (without the port), User-Agent,
// "Connection: close", blank line.
std::string ComposeGetRequest(const UrlParts& url);

// POST of a URL-encoded form (PostForm): the header, then every byte of the
// body. Content-Length declares the body's length less 2: the report body
// ends with "\r\n\r\n" and the platform expects the declared length to stop
// after the first of those line breaks. A body shorter than 2 bytes declares
// 0 (a negative length would be no HTTP at all).
std::string ComposePostRequest(const UrlParts& url, const std::string& body);

// The number PostForm declares for a body of this many bytes.
size_t DeclaredFormLength(size_t bodyLength);

}  // namespace vt
