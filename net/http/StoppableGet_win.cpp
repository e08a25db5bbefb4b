#include "net/http/StoppableGet_win.h"

#include "net/http/HttpLog.h"
#include "net/http/HttpRequest.h"

namespace vt {

int32_t OpenStoppableGet(StoppableSocket& s, const UrlParts& url, bool* stopped) {
  *stopped = false;
  if (!StartWinsock()) return StartupFailed;
  bool opened = s.Open();
  sockaddr_in address;
  if (!ResolveHost(url.host, url.port, &address)) return HostNotFound;
  StoppableSocket::Outcome o = opened ? s.Connect(address) : StoppableSocket::kFailed;
  if (o == StoppableSocket::kFailed) {
    LogLine("connnect failed");
    return ConnectFailed;
  }
  if (o == StoppableSocket::kDone) {
    std::string request = ComposeGetRequest(url);
    o = s.SendAll(request.data(), static_cast<int>(request.size()));
    if (o == StoppableSocket::kFailed) {
      LogLine("send err");
      return SendFailed;
    }
  }
  *stopped = o == StoppableSocket::kStopped;
  return Ok;
}

}  // namespace vt
