#include "net/http/HttpRequest.h"

namespace vt {

const char kUserAgentLine[] =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n";

void AppendRequestHead(std::string& r, const char* method, const UrlParts& url) {
  r.reserve(r.size() + 300 + url.path.size() + url.host.size());
  r += method;
  r += ' ';
  r += url.path;
  r += " HTTP/1.1\r\n";
  r += "Host: ";
  r += url.host;
  r += "\r\n";
}

std::string ComposeGetRequest(const UrlParts& url) {
  std::string r;
  AppendRequestHead(r, "GET", url);
  r += kUserAgentLine;
  r += "Connection: close\r\n";
  r += "\r\n";
  return r;
}

size_t DeclaredFormLength(size_t bodyLength) { return bodyLength >= 2 ? bodyLength - 2 : 0; }

std::string ComposePostRequest(const UrlParts& url, const std::string& body) {
  std::string r;
  r.reserve(300 + url.path.size() + url.host.size() + body.size());
  AppendRequestHead(r, "POST", url);
  r += "Content-Type: application/x-www-form-urlencoded\r\n";
  r += "Content-Length: ";
  r += std::to_string(DeclaredFormLength(body.size()));
  r += "\r\n";
  r += "Accept-Language: zh-cn\r\n";
  r += kUserAgentLine;
  r += "Connection: close\r\n";
  r += "\r\n";
  r += body;
  return r;
}

}  // namespace vt
