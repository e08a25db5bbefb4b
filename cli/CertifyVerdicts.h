// The console's one-line texts for the platform steps of a certification:
// the version check, the test number and the report. veltrane-cli certify
// prints them; the fault matrix shows them as what the user is told.
#pragma once

#include <string>

namespace vt {

// The version check: ended is whether the thread ended within its wait,
// read whether it read a version document, updateDue whether the document
// names a newer version (latest).
std::string VersionCheckLine(bool ended, bool read, bool updateDue, const char* latest);

// The test-number request: answered is whether the thread's message came
// within the bound, kind its wParam (0 update demanded, 1 access denied,
// 2 granted), number the reply text. An empty number is no answer.
std::string TestNumberLine(bool answered, unsigned kind, const char* number);
// Whether the certification can go on with that reply.
bool TestNumberGranted(bool answered, unsigned kind, const char* number);

// The report: saved is SubmitReport's result (0: the save request was
// delivered and accepted), meets the 90 % rule, speedText the download figure as shown,
// address the report document's address.
std::string ReportLine(int saved, bool meets, const std::string& speedText, const std::string& address);

}  // namespace vt
