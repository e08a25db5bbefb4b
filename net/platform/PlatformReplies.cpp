#include "net/platform/PlatformReplies.h"

#include <cstring>

#include "config/ServerSet.h"

std::string BuildTestNumberUrl(const char* query) {
  std::string url = "http://";
  url += vt::Servers().platformServer;
  url += "/getseq.php?v=1.0.10";
  if (query) url += query;
  return url;
}

TestNumberReplyKind ClassifyTestNumberReply(const char* reply) {
  if (!reply) return TestNumberReplyKind::Granted;
  if (strcmp(reply, "NEED_UPDATE") == 0) return TestNumberReplyKind::NeedUpdate;
  if (strcmp(reply, "ACCESS_DENY") == 0) return TestNumberReplyKind::AccessDenied;
  return TestNumberReplyKind::Granted;
}

bool ReportSaveAccepted(int status) { return status >= 200 && status < 400; }

bool IsSafeUpdateFileName(const char* name) {
  if (!name || !*name || name[0] == '.') return false;
  size_t len = strlen(name);
  if (len > 100) return false;
  for (size_t i = 0; i < len; ++i) {
    char c = name[i];
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                 c == '_' || c == '-';
    if (!plain) return false;
  }
  return strstr(name, "..") == nullptr;
}
