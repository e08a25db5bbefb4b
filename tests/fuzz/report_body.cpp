// Fuzz target: the report form's body and the document address with hostile
// texts (any bytes, any lengths, GBK lead bytes at every cut). The body must
// fit its buffer, keep its "\r\n\r\n" ending, carry every text either whole
// or cut at a character boundary, and equal the plain composition when that
// fits. The address must fit its buffer and end in ".docx" (or be empty).
// fuzz-options: -max_len=8192
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "model/ReportForm.h"
#include "tests/fuzz/support/FuzzInput.h"
#include "base/CodePage.h"

namespace {

std::string CText(const std::string& s) { return std::string(s.c_str()); }  // as the %s sees it

// The numbers between the texts, as the body writes them.
std::string Numbers(const ReportRecord& r) {
  char buf[1024];
  snprintf(buf, sizeof buf,
           "&mod=%d&testlevel=%d&speed_rtt=%d&speed_speed=%.2f&speed_upload=%.2f&app_t1=%.2f&app_t2=%.2f"
           "&app_t3=%.2f&hoopsWAN=%d&hoopsLAN=%d&delayWAN=%d&delayLAN=%d&lancomment=",
           r.mod, r.testlevel, r.speed_rtt, r.speed_speed, r.speed_upload, r.app_t1, r.app_t2, r.app_t3,
           r.hoopsWAN, r.hoopsLAN, r.delayWAN, r.delayLAN);
  return buf;
}

bool IsBoundary(const std::string& text, size_t cut) {
  return vt::CharBoundaryAtOrBelow(text.data(), text.size(), cut) == cut;
}

// Whether body[pos..] is fields[i..] (each cut at a boundary of its text)
// with their literals, up to the end. Every possible cut is tried: a text
// may itself hold the literal that follows it.
bool MatchFields(const std::string& body, size_t pos, const std::string* texts, const std::string* literals, int i,
                 int n) {
  if (i == n) return pos == body.size();
  const std::string& text = texts[i];
  size_t common = 0;  // length of the common start of body[pos..] and text
  while (common < text.size() && pos + common < body.size() && body[pos + common] == text[common]) ++common;
  for (size_t at = body.find(literals[i], pos); at != std::string::npos && at <= pos + common;
       at = body.find(literals[i], at + 1)) {
    size_t cut = at - pos;
    if (IsBoundary(text, cut) && MatchFields(body, at + literals[i].size(), texts, literals, i + 1, n)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  ReportRecord r;
  r.mod = static_cast<int32_t>(in.U32());
  r.testlevel = static_cast<int32_t>(in.U32());
  r.speed_rtt = static_cast<int32_t>(in.U32());
  r.hoopsWAN = static_cast<int32_t>(in.U32());
  r.delayLAN = static_cast<int32_t>(in.U32());
  r.speed_speed = static_cast<int32_t>(in.U32()) / 100.0;
  r.app_t3 = static_cast<double>(in.U32()) * 1e6;  // long figures too
  // Texts are separated by 0xFF bytes, so the fuzzer can move lengths around;
  // a long text can be grown by repeating a piece.
  std::string texts[6];
  for (auto& t : texts) {
    t = in.Until('\xFF');
    if (!t.empty() && t[0] == '*' && t.size() > 1) {
      std::string piece = t.substr(2);
      unsigned times = static_cast<unsigned char>(t[1]) * 32u;
      t.clear();
      for (unsigned i = 0; i < times && t.size() < 20000; ++i) t += piece;
    }
  }
  r.seq = texts[0];
  r.lancomment = texts[1];
  r.traceHoops = texts[2];
  r.traceDelay = texts[3];

  std::string body = vt::BuildReportBody(r, texts[4].c_str(), texts[5].c_str());
  FUZZ_CHECK(body.size() <= vt::kReportBodyLimit - 1);
  FUZZ_CHECK(body.size() >= 4 && body.compare(body.size() - 4, 4, "\r\n\r\n") == 0);

  const std::string t[6] = {CText(texts[0]), CText(texts[1]), CText(texts[2]),
                            CText(texts[3]), CText(texts[4]), CText(texts[5])};
  std::string plain = "seq=" + t[0] + Numbers(r) + t[1] + "&traceHoops=" + t[2] + "&traceDelay=" + t[3] +
                      "&userinfo=" + t[4] + "&bandwidth=" + t[5] + "\r\n\r\n";
  if (plain.size() <= vt::kReportBodyLimit - 1) {
    FUZZ_CHECK(body == plain);
  } else {
    FUZZ_CHECK(body.compare(0, 4, "seq=") == 0);
    const std::string literals[6] = {Numbers(r),    "&traceHoops=", "&traceDelay=",
                                     "&userinfo=", "&bandwidth=",  "\r\n\r\n"};
    FUZZ_CHECK(MatchFields(body, 4, t, literals, 0, 6));
  }

  std::string address = vt::ReportDocumentAddress(t[5].c_str(), t[0].c_str());
  FUZZ_CHECK(address.size() <= vt::kReportAddressLimit - 1);
  if (!address.empty()) {
    std::string head = "http://" + t[5] + ":80/report/";
    FUZZ_CHECK(address.compare(0, head.size(), head) == 0);
    FUZZ_CHECK(address.size() >= head.size() + 5 && address.compare(address.size() - 5, 5, ".docx") == 0);
    std::string number = address.substr(head.size(), address.size() - head.size() - 5);
    FUZZ_CHECK(t[0].compare(0, number.size(), number) == 0 && IsBoundary(t[0], number.size()));
  }
  vt::ParseLineBandwidth(t[5].c_str());
  return 0;
}
