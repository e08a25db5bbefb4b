// Fuzz target: the result record's file and page with texts of any bytes,
// and the reader that lists saved records with any file at all.
//   - the first text goes through the JSON reader and the summary reader as
//     a whole file: no crash, and a document the reader accepts is one it
//     accepts again after writing it back out;
//   - the other texts become the record's outside texts (the user's
//     information, a hop address, the public address): the record's JSON
//     parses and gives each text back as its UTF-8 conversion, and the page
//     has exactly the markup of the same page made with plain texts (an
//     outside text never adds a tag, an attribute or an entity's '&' that
//     is not its own escape).
// The code page's table is a stand-in: every pair decodes to a CJK
// character, except pairs whose trail byte is 0xFE, which it does not know.
#include <cstddef>
#include <cstdint>
#include <string>

#include "model/JsonReader.h"
#include "model/ReportPage.h"
#include "model/ResultJson.h"
#include "tests/fuzz/support/FuzzInput.h"

namespace {

bool StandInDecoder(unsigned char lead, unsigned char trail, uint32_t* cp) {
  if (trail == 0xFE) return false;
  *cp = 0x4E00 + ((lead - 0x81) * 191 + (trail - 0x40)) % 0x51A6;
  return true;
}

size_t Count(const std::string& text, char c) {
  size_t n = 0;
  for (char x : text) n += x == c;
  return n;
}

vt::ResultRecord Record(const std::string& info, const std::string& address, const std::string& ip) {
  vt::ResultRecord r;
  r.testNumber = "1";
  r.userInfo = info;
  r.bandwidth.ran = true;
  r.bandwidth.downloadSamples = {1.5, 2.5};
  r.route.ran = r.route.complete = true;
  r.route.hops = {{address, 3}, {address, -1}};
  r.route.verdict = {address};
  r.diagnosis.ran = r.diagnosis.complete = true;
  r.diagnosis.publicIp = ip;
  r.diagnosis.hops = {{ip, 40}};
  r.exportState = vt::ExportState::kAccepted;
  r.lineBandwidthText = info;
  r.documentAddress = address;
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  std::string file = in.Until('\0');
  std::string info = in.Until('\0');
  std::string address = in.Until('\0');
  std::string ip = in.Rest();

  vt::JsonValue doc;
  std::string problem;
  vt::ResultSummary summary;
  vt::ReadResultSummary(file.data(), file.size(), &summary, &problem);
  if (vt::ParseJson(file.data(), file.size(), &doc, &problem) && doc.kind == vt::JsonValue::kString) {
    std::string again;
    vt::AppendJsonUtf8(again, doc.text);
    vt::JsonValue back;
    FUZZ_CHECK(vt::ParseJson(again.data(), again.size(), &back, &problem));
    FUZZ_CHECK(back.text == doc.text);
  }

  vt::ResultRecord record = Record(info, address, ip);
  std::string json = vt::ResultJson(record, StandInDecoder);
  FUZZ_CHECK(vt::ParseJson(json.data(), json.size(), &doc, &problem));
  FUZZ_CHECK(doc.Get("line")->Get("user_info")->text == vt::CodePageToUtf8(info, StandInDecoder));
  FUZZ_CHECK(doc.Get("route")->Get("hops")->items[0].Get("address")->text ==
             vt::CodePageToUtf8(address, StandInDecoder));
  FUZZ_CHECK(doc.Get("diagnosis")->Get("public_ip")->text == vt::CodePageToUtf8(ip, StandInDecoder));
  FUZZ_CHECK(vt::ReadResultSummary(json.data(), json.size(), &summary, &problem));

  std::string page = vt::ReportPageHtml(record, StandInDecoder, "r.json");
  std::string plain = vt::ReportPageHtml(Record("x", "x", "x"), StandInDecoder, "r.json");
  FUZZ_CHECK(Count(page, '<') == Count(plain, '<'));
  FUZZ_CHECK(Count(page, '>') == Count(plain, '>'));
  FUZZ_CHECK(Count(page, '"') == Count(plain, '"'));
  return 0;
}
