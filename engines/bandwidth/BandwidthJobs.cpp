#include "engines/bandwidth/BandwidthJobs.h"

#include "config/ServerProfile.h"

namespace vt {

namespace {

int Quarter(int level) {
  int q = level / 4;
  if (q < 0) return 0;
  return q > 4 ? 4 : q;  // MetroDownloadTable has four entries
}

}  // namespace

std::string PlatformUrl(const char* path) { return std::string("http://") + platformServer + path; }

std::vector<std::string> DownloadJobUrls(int serverMode, int bandwidthLevel) {
  std::vector<std::string> urls;
  if (serverMode == kMetroServerMode) {
    int q = Quarter(bandwidthLevel);
    for (int i = 0; i < q; ++i) {
      urls.push_back(MetroDownloadTable[i]);
      urls.push_back(PlatformUrl("/data.iso"));
    }
    return urls;
  }
  const int entries = static_cast<int>(sizeof InternetDownloadTable / sizeof InternetDownloadTable[0]);
  int n = bandwidthLevel < 0 ? 0 : (bandwidthLevel > entries ? entries : bandwidthLevel);
  for (int i = 0; i < n; ++i) urls.push_back(InternetDownloadTable[i]);
  return urls;
}

std::vector<std::string> UploadJobUrls(int serverMode, int bandwidthLevel) {
  std::vector<std::string> urls;
  if (serverMode == kMetroServerMode) {
    for (const char* url : MetroUploadTable) urls.push_back(url);
    int q = Quarter(bandwidthLevel);
    for (int i = 0; i < q; ++i) urls.push_back(PlatformUrl("/recv_upload.php"));
    return urls;
  }
  for (const char* url : InternetUploadTable) urls.push_back(url);
  urls.push_back(PlatformUrl("/recv_upload.php"));
  return urls;
}

}  // namespace vt
