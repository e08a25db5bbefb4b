#include "engines/bandwidth/UploadRequest.h"

#include "net/http/HttpRequest.h"

namespace vt {

std::string ComposeUploadRequest(const UrlParts& url) {
  std::string r;
  AppendRequestHead(r, "POST", url);
  r += kUserAgentLine;
  r += "Connection: keep-alive\r\n";
  r += "Cache-Control: no-cache\r\n";
  r += "Content-Length: ";
  r += std::to_string(kUploadDeclaredLength);
  r += "\r\n";
  r += "\r\n";
  return r;
}

}  // namespace vt
