// The job lists of the bandwidth phases: which URLs a phase
// opens, by server mode and bandwidth level, from the server tables of the
// set in use (config/ServerSet.h).
#pragma once

#include <string>
#include <vector>

namespace vt {

// serverMode 2 selects the metropolitan tables, any other value the Internet
// tables.
constexpr int kMetroServerMode = 2;

// Download phase. Metropolitan: for i = 0 .. q-1 (q = level / 4) entry i of
// MetroDownloadTable, then the platform server's /data.iso: 2, 4, 6 or 8
// jobs. Internet: entries 0 .. level-1 of InternetDownloadTable.
// Levels outside the tables are clamped to them (q at most 4, at most 16
// Internet entries; a level below 4, or below 1 for the Internet, gives no
// job), so no level reads past a table.
std::vector<std::string> DownloadJobUrls(int serverMode, int bandwidthLevel);

// Upload phase. Metropolitan: the eight entries of MetroUploadTable, then
// q jobs on the platform server's /recv_upload.php (9 to 12 jobs).
// Internet: the six entries of InternetUploadTable and one job on the
// platform server: 7 jobs at every level.
std::vector<std::string> UploadJobUrls(int serverMode, int bandwidthLevel);

// "http://" + platformServer + path.
std::string PlatformUrl(const char* path);

}  // namespace vt
