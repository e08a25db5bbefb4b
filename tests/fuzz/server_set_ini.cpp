// Fuzz target: a server file (veltrane.ini) split into sections as the
// profile API hands them over, then read and checked whole.
// fuzz-options: -max_len=16384
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "config/ServerSetIni.h"
#include "tests/fuzz/support/FuzzInput.h"
#include "tests/native/IniSections.h"

namespace {

bool Usable(const std::string* entries, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (!vt::UrlProblem(entries[i]).empty()) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  vt::ServerSet set;
  set.platformServer = "unchanged";
  vt::ServerSetProblem problem;
  bool read = vt::ReadServerSet(IniSections(text), &set, &problem);
  if (!read) {
    // All or nothing, and always a reason.
    FUZZ_CHECK(set.platformServer == "unchanged" && !problem.what.empty());
    return 0;
  }
  // Whatever is accepted is a plain host and usable URLs: nothing that could
  // add a word to the ping command or a line to a request.
  FUZZ_CHECK(vt::IsPlainHost(set.platformServer));
  for (char c : set.platformServer)
    FUZZ_CHECK((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
               c == '-');
  FUZZ_CHECK(Usable(set.MetroDownloadTable, std::size(set.MetroDownloadTable)));
  FUZZ_CHECK(Usable(set.InternetDownloadTable, std::size(set.InternetDownloadTable)));
  FUZZ_CHECK(Usable(set.MetroUploadTable, std::size(set.MetroUploadTable)));
  FUZZ_CHECK(Usable(set.InternetUploadTable, std::size(set.InternetUploadTable)));
  FUZZ_CHECK(Usable(set.AppTestSites, std::size(set.AppTestSites)));
  FUZZ_CHECK(set.updatePublicKey.size() <= vt::kMaxUpdateKeyLength);
  return 0;
}
