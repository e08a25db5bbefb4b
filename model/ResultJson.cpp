// The record file. Written for people as much as for programs: one member
// a line, lists of figures on one line, every text UTF-8. Speeds carry two
// decimals, as the report form sends them, so a figure of the file compares
// equal with the platform's copy.
#include "model/ResultJson.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "model/JsonReader.h"

namespace vt {

void AppendJsonUtf8(std::string& out, const std::string& utf8) {
  out += '"';
  const char* p = utf8.data();
  const size_t len = utf8.size();
  for (size_t pos = 0; pos < len;) {
    size_t n;
    uint32_t cp = ReadUtf8(p, len, pos, &n);
    pos += n;
    switch (cp) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      default: break;
    }
    if (cp < 0x20 || cp == 0x7F || cp == 0x2028 || cp == 0x2029) {
      char esc[8];
      snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned>(cp));
      out += esc;
    } else {
      AppendUtf8(out, cp);
    }
  }
  out += '"';
}

namespace {

// Builds the indented text. Members and items are separated as they come;
// Inline lists keep their items on one line.
class JsonOut {
 public:
  explicit JsonOut(DoubleByteDecoder decode) : decode_(decode) {}

  void Open(const char* key, char bracket) {
    Key(key);
    out_ += bracket;
    first_.push_back(true);
  }
  void Close(char bracket) {
    bool empty = first_.back();
    first_.pop_back();
    if (!empty) Newline();
    out_ += bracket;
  }
  void OpenInline(const char* key) {
    Key(key);
    out_ += '[';
    inline_ = true;
    first_.push_back(true);
  }
  void CloseInline() {
    first_.pop_back();
    inline_ = false;
    out_ += ']';
  }
  void Text(const char* key, const std::string& codePageText) {
    Key(key);
    AppendJsonUtf8(out_, CodePageToUtf8(codePageText, decode_));
  }
  void Ascii(const char* key, const char* text) {
    Key(key);
    AppendJsonUtf8(out_, text);
  }
  void Int(const char* key, int64_t v) {
    Key(key);
    out_ += std::to_string(v);
  }
  void Speed(const char* key, double v) {
    Key(key);
    char number[48];
    if (std::isfinite(v)) snprintf(number, sizeof number, "%.2f", v);
    else snprintf(number, sizeof number, "null");
    out_ += number;
  }
  void Bool(const char* key, bool v) {
    Key(key);
    out_ += v ? "true" : "false";
  }
  void Null(const char* key) {
    Key(key);
    out_ += "null";
  }
  std::string Done() { return out_ + "\n"; }

 private:
  void Newline() {
    out_ += '\n';
    out_.append(2 * first_.size(), ' ');
  }
  // Separator and key before a member (key) or an item (no key).
  void Key(const char* key) {
    if (!first_.empty()) {
      if (!first_.back()) out_ += inline_ ? ", " : ",";
      if (!inline_) Newline();
      first_.back() = false;
    }
    if (key) {
      AppendJsonUtf8(out_, key);
      out_ += ": ";
    }
  }

  DoubleByteDecoder decode_;
  std::string out_;
  std::vector<bool> first_;
  bool inline_ = false;
};

void Hops(JsonOut& j, const char* key, const std::vector<ResultHop>& hops) {
  static const char* const kGrades[] = {"timeout", "good", "medium", "slow"};
  j.Open(key, '[');
  int number = 0;
  for (const ResultHop& h : hops) {
    j.Open(nullptr, '{');
    j.Int("hop", ++number);
    j.Text("address", h.address);
    if (h.delayMs >= 0) j.Int("delay_ms", h.delayMs);
    else j.Null("delay_ms");
    j.Ascii("grade", kGrades[static_cast<int>(GradeHopDelay(h.delayMs))]);
    j.Close('}');
  }
  j.Close(']');
}

void Lines(JsonOut& j, const char* key, const std::vector<std::string>& lines) {
  j.Open(key, '[');
  for (const std::string& line : lines) j.Text(nullptr, line);
  j.Close(']');
}

// The background prober's figures under the console's keys; null when the
// prober did not run (switched off, or no test started).
void LineQualityPart(JsonOut& j, const ResultRecord& rec) {
  if (!rec.haveLineQuality) {
    j.Null("line_quality");
    return;
  }
  const LineQuality& q = rec.lineQuality;
  j.Open("line_quality", '{');
  j.Int("probes", q.sent);
  j.Int("lost", q.lost);
  j.Speed("loss_percent", q.lossPercent);
  j.Int("longest_loss_run", q.longestLossRun);
  const struct {
    const char* prefix;
    const DelayFigures& f;
  } phases[] = {{"idle", q.idle}, {"download", q.download}, {"upload", q.upload}};
  for (const auto& p : phases) {
    std::string k = p.prefix;
    j.Int((k + "_probes").c_str(), p.f.count);
    j.Speed((k + "_median_ms").c_str(), p.f.medianMs);
    j.Speed((k + "_p90_ms").c_str(), p.f.p90Ms);
  }
  j.Speed("idle_jitter_ms", q.idleJitterMs);
  j.Speed("download_added_ms", q.downloadAddedMs);
  j.Speed("upload_added_ms", q.uploadAddedMs);
  j.Close('}');
}

void Bandwidth(JsonOut& j, const BandwidthResult& b) {
  if (!b.ran) return j.Null("bandwidth");
  j.Open("bandwidth", '{');
  j.Bool("complete", b.complete);
  j.OpenInline("download_samples_mbps");
  for (double v : b.downloadSamples) j.Speed(nullptr, v);
  j.CloseInline();
  if (b.downloadDone) j.Speed("download_mbps", b.downloadMbps);
  else j.Null("download_mbps");
  j.OpenInline("ping_replies_ms");
  for (int32_t v : b.pingReplies) j.Int(nullptr, v);
  j.CloseInline();
  if (b.pingDone) j.Int("ping_mean_ms", b.pingMeanMs);
  else j.Null("ping_mean_ms");
  j.OpenInline("upload_running_means_mbps");
  for (double v : b.uploadMeans) j.Speed(nullptr, v);
  j.CloseInline();
  if (b.uploadDone) j.Speed("upload_mbps", b.uploadMbps);
  else j.Null("upload_mbps");
  j.Int("dropped_samples", b.dropped);
  j.Close('}');
}

void Route(JsonOut& j, const RouteResult& r) {
  if (!r.ran) return j.Null("route");
  j.Open("route", '{');
  j.Bool("complete", r.complete);
  j.Text("target", r.target);
  Hops(j, "hops", r.hops);
  Lines(j, "verdict", r.verdict);
  j.Int("dropped_hops", r.dropped);
  j.Close('}');
}

void Apps(JsonOut& j, const AppResult& a) {
  if (!a.ran) return j.Null("applications");
  static const char* const kKinds[] = {"", "web", "web", "web", "mail", "mail", "mail", "image"};
  j.Open("applications", '{');
  j.Bool("complete", a.complete);
  j.Open("items", '[');
  for (int i = 1; i <= 7; ++i) {
    if (!a.itemHas[i]) continue;
    j.Open(nullptr, '{');
    j.Int("item", i);
    j.Ascii("kind", kKinds[i]);
    j.Text("site", a.itemSite[i]);
    j.Speed("mbps", a.itemMbps[i]);
    j.Close('}');
  }
  j.Close(']');
  struct Box {
    const char* key;
    bool done;
    double mbps;
  } boxes[] = {{"web", a.webDone, a.webMbps},
               {"mail", a.mailDone, a.mailMbps},
               {"download", a.downloadDone, a.downloadMbps}};
  for (const Box& b : boxes) {
    if (!b.done) {
      j.Null(b.key);
      continue;
    }
    j.Open(b.key, '{');
    j.Speed("mbps", b.mbps);
    // The page's grades (AppRating): above 8 Mbit/s fast, above 1 fair.
    j.Ascii("grade", b.mbps > 8.0 ? "fast" : b.mbps > 1.0 ? "fair" : "slow");
    j.Close('}');
  }
  j.Close('}');
}

void Diagnosis(JsonOut& j, const DiagnosisResult& d, const ReportRecord& r) {
  if (!d.ran) return j.Null("diagnosis");
  j.Open("diagnosis", '{');
  j.Bool("complete", d.complete);
  j.Bool("failed", d.failed);
  j.Text("public_ip", d.publicIp);
  j.Int("wan_delay_ms", r.delayWAN);
  j.Int("wan_hops", r.hoopsWAN);
  j.Int("lan_delay_ms", r.delayLAN);
  j.Int("lan_hops", r.hoopsLAN);
  j.Text("lan_comment", r.lancomment);
  Hops(j, "hops", d.hops);
  Lines(j, "verdict", d.verdict);
  j.Close('}');
}

void Report(JsonOut& j, const ResultRecord& rec) {
  const ReportRecord& r = rec.report;
  j.Open("report", '{');
  j.Ascii("state", ExportStateName(rec.exportState));
  if (rec.exportState == ExportState::kNotExported) j.Null("result_code");
  else j.Int("result_code", rec.exportCode);
  j.Bool("meets_90_percent", ResultMeetsBandwidth(rec));
  if (rec.documentAddress.empty()) j.Null("document");
  else j.Text("document", rec.documentAddress);
  // The form's figures under the form's own keys.
  j.Open("form", '{');
  j.Text("seq", r.seq);
  j.Int("mod", r.mod);
  j.Int("testlevel", r.testlevel);
  j.Int("speed_rtt", r.speed_rtt);
  j.Speed("speed_speed", r.speed_speed);
  j.Speed("speed_upload", r.speed_upload);
  j.Speed("app_t1", r.app_t1);
  j.Speed("app_t2", r.app_t2);
  j.Speed("app_t3", r.app_t3);
  j.Int("hoopsWAN", r.hoopsWAN);
  j.Int("hoopsLAN", r.hoopsLAN);
  j.Int("delayWAN", r.delayWAN);
  j.Int("delayLAN", r.delayLAN);
  j.Text("lancomment", r.lancomment);
  j.Text("traceHoops", r.traceHoops);
  j.Text("traceDelay", r.traceDelay);
  j.Text("userinfo", rec.userInfo);
  j.Text("bandwidth", rec.lineBandwidthText);
  j.Close('}');
  j.Close('}');
}

}  // namespace

std::string ResultJson(const ResultRecord& rec, DoubleByteDecoder decode) {
  JsonOut j(decode);
  j.Open(nullptr, '{');
  j.Ascii("schema", "veltrane-result");
  j.Int("schema_version", kResultSchemaVersion);
  j.Text("test_number", rec.testNumber);
  j.Text("started_at", rec.startedAt);
  j.Text("saved_at", rec.savedAt);
  j.Text("saved_because", rec.savedBecause);
  j.Ascii("verdict", ResultVerdict(rec));
  j.Open("client", '{');
  j.Text("version", rec.clientVersion);
  j.Text("platform_server", rec.platformServer);
  j.Text("server_set", rec.serverOrigin);
  j.Close('}');
  j.Open("line", '{');
  j.Int("mode", rec.mode);
  j.Int("level", rec.level);
  if (rec.exportState == ExportState::kNotExported) {
    j.Null("contracted_text");
    j.Null("contracted_mbps");
  } else {
    j.Text("contracted_text", rec.lineBandwidthText);
    j.Int("contracted_mbps", rec.lineBandwidth);
  }
  j.Text("user_info", rec.userInfo);
  j.Close('}');
  Bandwidth(j, rec.bandwidth);
  Route(j, rec.route);
  Apps(j, rec.apps);
  Diagnosis(j, rec.diagnosis, rec.report);
  Report(j, rec);
  LineQualityPart(j, rec);
  j.Close('}');
  return j.Done();
}

namespace {

std::string TextOf(const JsonValue* v) {
  return v && v->kind == JsonValue::kString ? v->text : std::string();
}

bool NumberOf(const JsonValue* v, double* out) {
  if (!v || v->kind != JsonValue::kNumber) return false;
  *out = v->number;
  return true;
}

int32_t IntOf(const JsonValue* v) {
  double d;
  if (!NumberOf(v, &d) || !(d > -2147483648.0 && d < 2147483648.0)) return 0;
  return static_cast<int32_t>(d);
}

}  // namespace

bool ReadResultSummary(const char* data, size_t len, ResultSummary* out, std::string* problem) {
  *out = ResultSummary();
  std::string why;
  if (len > kResultFileLimit) {
    why = "larger than a record can be";
  } else {
    JsonValue doc;
    if (!ParseJson(data, len, &doc, &why)) {
      why = "not JSON: " + why;
    } else if (doc.kind != JsonValue::kObject || TextOf(doc.Get("schema")) != "veltrane-result") {
      why = "not a result record";
    } else {
      double version = 0;
      if (!NumberOf(doc.Get("schema_version"), &version) || version < 1 || version != std::floor(version)) {
        why = "no schema version";
      } else if (version >= kResultSchemaVersion + 1) {
        why = "schema version " + std::to_string(static_cast<long long>(std::fmin(version, 1e9))) +
              " is newer than this program reads";
      } else {
        out->schemaVersion = static_cast<int>(version);
        out->testNumber = TextOf(doc.Get("test_number"));
        out->startedAt = TextOf(doc.Get("started_at"));
        out->savedAt = TextOf(doc.Get("saved_at"));
        out->verdict = TextOf(doc.Get("verdict"));
        if (const JsonValue* line = doc.Get("line")) {
          out->mode = IntOf(line->Get("mode"));
          out->level = IntOf(line->Get("level"));
          out->lineBandwidth = TextOf(line->Get("contracted_text"));
        }
        if (const JsonValue* b = doc.Get("bandwidth")) {
          out->hasDownload = NumberOf(b->Get("download_mbps"), &out->downloadMbps);
          out->hasUpload = NumberOf(b->Get("upload_mbps"), &out->uploadMbps);
        }
        if (const JsonValue* r = doc.Get("report")) out->exportState = TextOf(r->Get("state"));
        return true;
      }
    }
  }
  if (problem) *problem = why;
  return false;
}

}  // namespace vt
