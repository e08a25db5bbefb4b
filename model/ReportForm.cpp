#include "model/ReportForm.h"

#include <cstdlib>
#include <cstring>

#include "base/CodePage.h"
#include "base/UIString.h"

namespace vt {

namespace {

const char kBodyFormat[] =
    "seq=%s&mod=%d&testlevel=%d&speed_rtt=%d&speed_speed=%.2f&speed_upload=%.2f&app_t1=%.2f&app_t2=%.2f"
    "&app_t3=%.2f&hoopsWAN=%d&hoopsLAN=%d&delayWAN=%d&delayLAN=%d&lancomment=%s&traceHoops=%s&traceDelay=%s"
    "&userinfo=%s&bandwidth=%s\r\n\r\n";

std::string Compose(const ReportRecord& r, const std::string* texts) {
  CUIString body;
  body.Format(kBodyFormat, texts[0].c_str(), r.mod, r.testlevel, r.speed_rtt, r.speed_speed, r.speed_upload,
              r.app_t1, r.app_t2, r.app_t3, r.hoopsWAN, r.hoopsLAN, r.delayWAN, r.delayLAN, texts[1].c_str(),
              texts[2].c_str(), texts[3].c_str(), texts[4].c_str(), texts[5].c_str());
  return std::string(body.GetData(), body.GetLength());
}

void CutText(std::string* text, size_t newLength) {
  text->resize(CharBoundaryAtOrBelow(text->data(), text->size(), newLength));
}

}  // namespace

std::string BuildReportBody(const ReportRecord& report, const char* userInfo, const char* lineBandwidth) {
  std::string texts[6] = {report.seq,        report.lancomment,        report.traceHoops,
                          report.traceDelay, userInfo ? userInfo : "", lineBandwidth ? lineBandwidth : ""};
  const size_t limit = kReportBodyLimit - 1;
  std::string body = Compose(report, texts);
  while (body.size() > limit) {
    size_t longest = 0;
    for (size_t i = 1; i < 6; ++i)
      if (texts[i].size() > texts[longest].size()) longest = i;
    size_t excess = body.size() - limit;
    // Numbers alone never fill the buffer, so the texts can always absorb it.
    CutText(&texts[longest], texts[longest].size() > excess ? texts[longest].size() - excess : 0);
    body = Compose(report, texts);
  }
  return body;
}

bool ReportMeetsBandwidth(const ReportRecord& report) {
  return !(report.bandwidth * 0.9 >= report.speed_speed);
}

std::string ReportDocumentAddress(const char* platform, const char* seq) {
  std::string head = std::string("http://") + (platform ? platform : "") + ":80/report/";
  const std::string tail = ".docx";
  std::string number = seq ? seq : "";
  const size_t limit = kReportAddressLimit - 1;
  if (head.size() + tail.size() >= limit) return std::string();  // no room for any number
  if (head.size() + number.size() + tail.size() > limit) CutText(&number, limit - head.size() - tail.size());
  return head + number + tail;
}

bool AcceptLineBandwidth(const char* text) { return text && *text && atof(text) > 0.0; }

int ParseLineBandwidth(const char* text) { return text ? atoi(text) : 0; }

}  // namespace vt
