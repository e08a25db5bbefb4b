#include "engines/bandwidth/BandwidthJobs.h"

#include <iterator>

#include "config/ServerSet.h"

namespace vt {

namespace {

int Quarter(int level) {
  int q = level / 4;
  if (q < 0) return 0;
  return q > 4 ? 4 : q;  // MetroDownloadTable has four entries
}

}  // namespace

std::string PlatformUrl(const char* path) { return "http://" + Servers().platformServer + path; }

std::vector<std::string> DownloadJobUrls(int serverMode, int bandwidthLevel) {
  std::vector<std::string> urls;
  if (serverMode == kMetroServerMode) {
    int q = Quarter(bandwidthLevel);
    for (int i = 0; i < q; ++i) {
      urls.push_back(Servers().MetroDownloadTable[i]);
      urls.push_back(PlatformUrl("/data.iso"));
    }
    return urls;
  }
  const int entries = static_cast<int>(std::size(Servers().InternetDownloadTable));
  int n = bandwidthLevel < 0 ? 0 : (bandwidthLevel > entries ? entries : bandwidthLevel);
  for (int i = 0; i < n; ++i) urls.push_back(Servers().InternetDownloadTable[i]);
  return urls;
}

std::vector<std::string> UploadJobUrls(int serverMode, int bandwidthLevel) {
  std::vector<std::string> urls;
  if (serverMode == kMetroServerMode) {
    for (const std::string& url : Servers().MetroUploadTable) urls.push_back(url);
    int q = Quarter(bandwidthLevel);
    for (int i = 0; i < q; ++i) urls.push_back(PlatformUrl("/recv_upload.php"));
    return urls;
  }
  for (const std::string& url : Servers().InternetUploadTable) urls.push_back(url);
  urls.push_back(PlatformUrl("/recv_upload.php"));
  return urls;
}

}  // namespace vt
