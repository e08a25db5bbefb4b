#include "cli/CertifyVerdicts.h"

#include "net/platform/PlatformReplies.h"

namespace vt {

std::string VersionCheckLine(bool ended, bool read, bool updateDue, const char* latest) {
  if (!ended) return "no answer within 5 s";
  // No document is not the same as no newer version.
  if (!read) return "no version document";
  if (updateDue) return std::string("update ") + (latest ? latest : "") + " available (not installed)";
  return "up to date";
}

bool TestNumberGranted(bool answered, unsigned kind, const char* number) {
  return answered && kind == 2 && number && *number;
}

std::string TestNumberLine(bool answered, unsigned kind, const char* number) {
  if (!answered || (kind == 2 && (!number || !*number))) return "the platform does not answer";
  if (kind == 0) return "refused: this version must be updated";
  if (kind == 1) return "refused: access denied";
  return number;
}

std::string ReportLine(int saved, bool meets, const std::string& speedText, const std::string& address) {
  if (saved == kReportNotAccepted) return "not accepted: the platform's reply to the save was no 2xx or 3xx status";
  if (saved != 0) return "could not be delivered to the platform";
  if (!meets)
    return "submitted; download " + speedText +
           " is not above 90 % of the line bandwidth: no report document";
  return "submitted: " + address;
}

}  // namespace vt
