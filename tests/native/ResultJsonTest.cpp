// The result record as a file: code page to UTF-8, the JSON writer, and the
// reader that lists saved records.
#include <gtest/gtest.h>

#include <string>

#include "base/CodePage.h"
#include "model/JsonReader.h"
#include "model/ResultCollector.h"
#include "model/ResultJson.h"
#include "GbkDecoder.h"

namespace {

// UTF-8 literals (u8"…") stay UTF-8 although the build's literals are GBK.
std::string U(const char8_t* text) { return reinterpret_cast<const char*>(text); }

vt::ResultRecord SampleRecord() {
  vt::ResultRecord r;
  r.testNumber = "20261211001";
  r.startedAt = "2026-12-11T08:15:02+08:00";
  r.savedAt = "2026-12-11T08:24:40+08:00";
  r.savedBecause = "export";
  r.mode = 2;
  r.level = 12;
  r.lineBandwidthText = "100M";
  r.lineBandwidth = 100;
  r.userInfo = "某公司 \"A&B\"";
  r.bandwidth.ran = r.bandwidth.complete = true;
  r.bandwidth.downloadSamples = {91.5, 95.25, 96};
  r.bandwidth.downloadMbps = 95.31;
  r.bandwidth.downloadDone = true;
  r.bandwidth.pingReplies = {3, 4, 3};
  r.bandwidth.pingMeanMs = 3;
  r.bandwidth.pingDone = true;
  r.bandwidth.uploadMeans = {40.127, 41};
  r.bandwidth.uploadMbps = 41;
  r.bandwidth.uploadDone = true;
  r.route.ran = r.route.complete = true;
  r.route.target = "127.0.80.1";
  r.route.hops = {{"10.0.0.1", 1}, {"*", -1}, {"203.0.113.9", 31}};
  r.route.verdict = {"203.0.113.9,路由延时大于30毫秒，严重影响网速"};
  r.apps.ran = true;
  r.apps.itemMbps[1] = 4.5;
  r.apps.itemHas[1] = true;
  r.apps.itemSite[1] = "127.0.81.1";
  r.apps.webMbps = 4.5, r.apps.webDone = true;
  r.report.seq = r.testNumber;
  r.report.speed_speed = 95.31;
  r.report.bandwidth = 100;
  r.report.delayWAN = 9;
  r.exportState = vt::ExportState::kAccepted;
  r.documentAddress = "http://127.0.80.1:80/report/20261211001.docx";
  r.clientVersion = "2.21.2.718";
  r.platformServer = "127.0.80.1";
  r.serverOrigin = "Z:\\work\\config\\lab.ini";
  return r;
}

vt::JsonValue Parse(const std::string& text) {
  vt::JsonValue v;
  std::string problem;
  EXPECT_TRUE(vt::ParseJson(text.data(), text.size(), &v, &problem)) << problem << "\n" << text;
  return v;
}

}  // namespace

TEST(CodePageToUtf8, ConvertsWholeCharactersAndReplacesBrokenOnes) {
  const std::string bad = U(u8"\uFFFD");
  const struct {
    std::string gbk;
    std::string utf8;
  } cases[] = {
      {"plain \"ASCII\" <x>", "plain \"ASCII\" <x>"},
      {"中文诊断", U(u8"中文诊断")},
      {"\x81\x5c", U(u8"乗")},                  // a trail byte that is '\' belongs to its character
      {"\x81\x7b}", U(u8"亄") + "}"},           // and one that is '{'
      {"ab\xd6", "ab" + bad},                   // a lead byte cut off at the end
      {"\xd6\"<", bad + "\"<"},                 // a lead byte never swallows a quote or bracket
      {"\xd6\x7f", bad + "\x7f"},               // 0x7F is no trail byte
      {std::string("\x80\xff", 2), bad + bad},  // bytes that start no character
      {"\xa2\xa0", bad},                        // a pair GBK does not assign
  };
  for (const auto& c : cases) EXPECT_EQ(vt::CodePageToUtf8(c.gbk, DecodeGbkForTest), c.utf8) << c.gbk;
  // Without a decoder every double-byte character is U+FFFD, ASCII stays.
  EXPECT_EQ(vt::CodePageToUtf8(std::string("a中"), nullptr), "a" + bad);
}

TEST(CodePageToUtf8, ReadUtf8TakesOnlyWellFormedCharacters) {
  const struct {
    std::string bytes;
    uint32_t cp;
    size_t size;
  } cases[] = {
      {"A", 'A', 1},
      {U(u8"中"), 0x4E2D, 3},
      {"\xF0\x9F\x98\x80", 0x1F600, 4},
      {"\xC0\xAF", 0xFFFD, 1},          // overlong '/'
      {"\xED\xA0\x80", 0xFFFD, 1},      // a surrogate
      {"\xE4\xB8", 0xFFFD, 1},          // cut
      {"\x80", 0xFFFD, 1},              // a stray continuation byte
      {"\xF4\x90\x80\x80", 0xFFFD, 1},  // above U+10FFFF
  };
  for (const auto& c : cases) {
    size_t size = 0;
    EXPECT_EQ(vt::ReadUtf8(c.bytes.data(), c.bytes.size(), 0, &size), c.cp) << c.bytes;
    EXPECT_EQ(size, c.size) << c.bytes;
  }
}

TEST(ResultJson, WritesEveryPartAsUtf8WithItsSchemaVersion) {
  std::string json = vt::ResultJson(SampleRecord(), DecodeGbkForTest);
  vt::JsonValue doc = Parse(json);
  ASSERT_EQ(doc.kind, vt::JsonValue::kObject);
  EXPECT_EQ(doc.Get("schema")->text, "veltrane-result");
  EXPECT_EQ(doc.Get("schema_version")->number, vt::kResultSchemaVersion);
  EXPECT_EQ(doc.Get("verdict")->text, "certified");
  EXPECT_EQ(doc.Get("line")->Get("user_info")->text, U(u8"某公司 \"A&B\""));
  EXPECT_EQ(doc.Get("line")->Get("contracted_mbps")->number, 100);
  const vt::JsonValue* b = doc.Get("bandwidth");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Get("download_samples_mbps")->items.size(), 3u);
  EXPECT_EQ(b->Get("download_samples_mbps")->items[1].number, 95.25);
  EXPECT_EQ(b->Get("upload_running_means_mbps")->items[0].number, 40.13);  // two decimals, as the form sends
  EXPECT_EQ(b->Get("ping_replies_ms")->items.size(), 3u);
  EXPECT_EQ(b->Get("download_mbps")->number, 95.31);
  const vt::JsonValue* hops = doc.Get("route")->Get("hops");
  ASSERT_EQ(hops->items.size(), 3u);
  EXPECT_EQ(hops->items[1].Get("delay_ms")->kind, vt::JsonValue::kNull);
  EXPECT_EQ(hops->items[1].Get("grade")->text, "timeout");
  EXPECT_EQ(hops->items[2].Get("grade")->text, "slow");
  EXPECT_EQ(doc.Get("route")->Get("verdict")->items[0].text,
            U(u8"203.0.113.9,路由延时大于30毫秒，严重影响网速"));
  const vt::JsonValue* apps = doc.Get("applications");
  EXPECT_EQ(apps->Get("items")->items.size(), 1u);
  EXPECT_EQ(apps->Get("web")->Get("grade")->text, "fair");
  EXPECT_EQ(apps->Get("mail")->kind, vt::JsonValue::kNull);
  EXPECT_EQ(doc.Get("diagnosis")->kind, vt::JsonValue::kNull);  // not run
  EXPECT_EQ(doc.Get("report")->Get("state")->text, "accepted");
  EXPECT_EQ(doc.Get("report")->Get("form")->Get("speed_speed")->number, 95.31);
  EXPECT_EQ(doc.Get("client")->Get("server_set")->text, "Z:\\work\\config\\lab.ini");
  // No prober figures: present, null.
  ASSERT_NE(doc.Get("line_quality"), nullptr);
  EXPECT_EQ(doc.Get("line_quality")->kind, vt::JsonValue::kNull);
  // People read the file too: one member a line, figures on one line.
  EXPECT_NE(json.find("\n    \"download_samples_mbps\": [91.50, 95.25, 96.00],\n"), std::string::npos)
      << json;
}

TEST(ResultJson, LineQualityUnderTheConsoleKeys) {
  vt::ResultCollector c;
  c.Begin("100001", 2, 12);
  vt::LineQuality q;
  q.sent = 1732;
  q.lost = 1;
  q.lossPercent = 100.0 / 1732;
  q.longestLossRun = 1;
  q.idle = {75, 20.44, 21.6};
  q.idleJitterMs = 1.17;
  q.download = {400, 61.25, 70.0};
  q.downloadAddedMs = 40.81;
  uint64_t before = c.revision();
  c.LineQualityFigures(q);
  EXPECT_GT(c.revision(), before);  // a record on disk is now behind
  vt::JsonValue doc = Parse(vt::ResultJson(c.record(), DecodeGbkForTest));
  const vt::JsonValue* lq = doc.Get("line_quality");
  ASSERT_NE(lq, nullptr);
  ASSERT_EQ(lq->kind, vt::JsonValue::kObject);
  const struct {
    const char* key;
    double value;
  } members[] = {{"probes", 1732},
                 {"lost", 1},
                 {"loss_percent", 0.06},
                 {"longest_loss_run", 1},
                 {"idle_probes", 75},
                 {"idle_median_ms", 20.44},
                 {"idle_p90_ms", 21.6},
                 {"idle_jitter_ms", 1.17},
                 {"download_probes", 400},
                 {"download_median_ms", 61.25},
                 {"download_added_ms", 40.81},
                 {"upload_probes", 0},
                 {"upload_median_ms", 0}};
  for (const auto& m : members) {
    ASSERT_NE(lq->Get(m.key), nullptr) << m.key;
    EXPECT_DOUBLE_EQ(lq->Get(m.key)->number, m.value) << m.key;
  }
}

TEST(ResultJson, HostileTextsStayInsideTheirStrings) {
  vt::ResultRecord r = SampleRecord();
  r.userInfo = "\"},\"verdict\":\"x\\\n\t\x01 \xd6\"";
  r.route.hops[0].address = "\xe2\x80\xa8";  // bytes of U+2028 in UTF-8: not GBK, so U+FFFD each
  r.testNumber = "\x81\x5c\"";               // a character ending in '\' before a quote
  std::string json = vt::ResultJson(r, DecodeGbkForTest);
  vt::JsonValue doc = Parse(json);
  EXPECT_EQ(doc.Get("verdict")->text, "certified");
  EXPECT_EQ(doc.Get("line")->Get("user_info")->text, "\"},\"verdict\":\"x\\\n\t\x01 " + U(u8"\uFFFD") + "\"");
  EXPECT_EQ(doc.Get("test_number")->text, U(u8"乗\""));
  EXPECT_EQ(json.find('\x01'), std::string::npos);
  std::string s;
  vt::AppendJsonUtf8(s, U(u8"a\u2028b"));
  EXPECT_EQ(s, "\"a\\u2028b\"");
}

TEST(ResultJson, ANotExportedRecordHasNoContractAndNoVerdictOnIt) {
  vt::ResultRecord r = SampleRecord();
  r.exportState = vt::ExportState::kNotExported;
  r.documentAddress.clear();
  vt::JsonValue doc = Parse(vt::ResultJson(r, DecodeGbkForTest));
  EXPECT_EQ(doc.Get("verdict")->text, "not-exported");
  EXPECT_EQ(doc.Get("line")->Get("contracted_mbps")->kind, vt::JsonValue::kNull);
  EXPECT_EQ(doc.Get("report")->Get("result_code")->kind, vt::JsonValue::kNull);
  EXPECT_FALSE(doc.Get("report")->Get("meets_90_percent")->boolean);
}

TEST(ResultJson, VerdictsFollowTheExportAndTheNinetyPercentRule) {
  const struct {
    vt::ExportState state;
    double download;
    const char* verdict;
  } cases[] = {{vt::ExportState::kAccepted, 95, "certified"},
               {vt::ExportState::kAccepted, 90, "below-90-percent"},
               {vt::ExportState::kRefused, 95, "not-submitted"},
               {vt::ExportState::kUnreachable, 95, "not-submitted"},
               {vt::ExportState::kNotExported, 95, "not-exported"}};
  for (const auto& c : cases) {
    vt::ResultRecord r = SampleRecord();
    r.exportState = c.state;
    r.report.speed_speed = c.download;
    EXPECT_STREQ(vt::ResultVerdict(r), c.verdict) << static_cast<int>(c.state) << " " << c.download;
  }
}

TEST(ResultSummary, ReadsWhatTheWriterWrote) {
  std::string json = vt::ResultJson(SampleRecord(), DecodeGbkForTest);
  vt::ResultSummary s;
  std::string problem;
  ASSERT_TRUE(vt::ReadResultSummary(json.data(), json.size(), &s, &problem)) << problem;
  EXPECT_EQ(s.schemaVersion, 1);
  EXPECT_EQ(s.testNumber, "20261211001");
  EXPECT_EQ(s.startedAt, "2026-12-11T08:15:02+08:00");
  EXPECT_EQ(s.verdict, "certified");
  EXPECT_EQ(s.exportState, "accepted");
  EXPECT_EQ(s.mode, 2);
  EXPECT_EQ(s.level, 12);
  EXPECT_EQ(s.lineBandwidth, "100M");
  EXPECT_TRUE(s.hasDownload);
  EXPECT_DOUBLE_EQ(s.downloadMbps, 95.31);
  EXPECT_DOUBLE_EQ(s.uploadMbps, 41);
}

TEST(ResultSummary, RefusesWhatIsNoRecordOfThisVersion) {
  std::string deep(100, '[');
  const struct {
    std::string text;
    const char* why;
  } cases[] = {
      {"", "not JSON"},
      {"{\"schema\":\"veltrane-result\",\"schema_version\":1", "not JSON"},
      {"[1,2]", "not a result record"},
      {"{\"schema\":\"other\",\"schema_version\":1}", "not a result record"},
      {"{\"schema\":\"veltrane-result\"}", "no schema version"},
      {"{\"schema\":\"veltrane-result\",\"schema_version\":1.5}", "no schema version"},
      {"{\"schema\":\"veltrane-result\",\"schema_version\":2}", "newer"},
      {"{\"schema\":\"veltrane-result\",\"schema_version\":1e300}", "newer"},
      {deep, "nested too deep"},
  };
  for (const auto& c : cases) {
    vt::ResultSummary s;
    std::string problem;
    EXPECT_FALSE(vt::ReadResultSummary(c.text.data(), c.text.size(), &s, &problem)) << c.text;
    EXPECT_NE(problem.find(c.why), std::string::npos) << c.text << ": " << problem;
  }
  // Fields of the wrong kind read as absent; unknown fields are ignored.
  std::string odd =
      "{\"schema\":\"veltrane-result\",\"schema_version\":1,\"test_number\":5,\"line\":[],"
      "\"bandwidth\":{\"download_mbps\":\"fast\"},\"future\":{\"x\":[true,null]}}";
  vt::ResultSummary s;
  std::string problem;
  ASSERT_TRUE(vt::ReadResultSummary(odd.data(), odd.size(), &s, &problem)) << problem;
  EXPECT_EQ(s.testNumber, "");
  EXPECT_FALSE(s.hasDownload);
}

TEST(JsonReader, AcceptsJsonAndNothingElse) {
  const struct {
    const char* text;
    bool ok;
  } cases[] = {
      {" {\"a\" : [1, -2.5e3, true, false, null, \"x\"]} ", true},
      {"\"\\u4e2d\\ud83d\\ude00\\n\"", true},
      {"{\"a\":1,}", false},
      {"[1 2]", false},
      {"01", false},
      {"1.", false},
      {"-", false},
      {"\"tab\there\"", false},
      {"\"\\x\"", false},
      {"\"\\u12\"", false},
      {"tru", false},
      {"{} {}", false},
      {"1e999", false},
  };
  for (const auto& c : cases) {
    vt::JsonValue v;
    std::string problem;
    EXPECT_EQ(vt::ParseJson(c.text, strlen(c.text), &v, &problem), c.ok) << c.text << ": " << problem;
  }
  vt::JsonValue v;
  std::string problem;
  const char text[] = "\"\\u4e2d\\ud83d\\ude00\\ud800x\"";
  ASSERT_TRUE(vt::ParseJson(text, sizeof text - 1, &v, &problem));
  EXPECT_EQ(v.text, U(u8"中\U0001F600\uFFFDx"));
}
