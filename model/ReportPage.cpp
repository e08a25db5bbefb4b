// The local report page. Read top-down the way the customer reads it: the
// verdict and the key figures, then one section per test with its chart,
// then the details an engineer looks up later. Our own texts are u8
// literals; the record's texts (system code page) are converted with the
// decoder and escaped on the way in.
#include "model/ReportPage.h"

#include <cmath>
#include <cstdio>

#include "model/ReportCharts.h"
#include "model/ReportForm.h"

#define U8(text) reinterpret_cast<const char*>(u8##text)

namespace vt {

namespace {

const char kStyle[] =
    "@page{size:A4;margin:12mm 13mm}"
    "*{box-sizing:border-box}"
    "html{background:#eef1f5}"
    "body{margin:0;color:#1d2630;font:13px/1.55 \"Microsoft YaHei\",\"PingFang SC\",\"Noto Sans CJK SC\","
    "\"WenQuanYi Micro Hei\",SimSun,sans-serif;-webkit-print-color-adjust:exact;print-color-adjust:exact}"
    ".sheet{max-width:210mm;margin:0 auto;padding:11mm 13mm 9mm;background:#fff}"
    "header{display:flex;justify-content:space-between;align-items:flex-end;border-bottom:3px solid #1f6fd1;"
    "padding-bottom:6px;margin-bottom:10px}"
    ".brand{font-size:12px;color:#1f6fd1;letter-spacing:1px}"
    "h1{font-size:21px;margin:2px 0 0;font-weight:700}"
    ".number{text-align:right;font-size:12px;color:#5b6570}"
    ".number b{display:block;font-size:17px;color:#1d2630;font-family:Consolas,\"DejaVu Sans "
    "Mono\",monospace}"
    "table.facts{width:100%;border-collapse:collapse;margin:0 0 10px;font-size:12.5px}"
    "table.facts th{color:#5b6570;font-weight:400;text-align:left;width:13%;padding:2px 6px 2px 0;"
    "white-space:nowrap}"
    "table.facts td{padding:2px 12px 2px 0;width:20%;overflow-wrap:anywhere}"
    ".verdict{display:flex;align-items:center;gap:14px;border-radius:6px;padding:10px 14px;margin:4px 0 10px;"
    "border:1px solid}"
    ".verdict .badge{flex:none;font-size:22px;font-weight:700;color:#fff;border-radius:5px;padding:6px 14px}"
    ".verdict p{margin:0}.verdict .lead{font-size:15px;font-weight:600}.verdict .sub{color:#46515d;"
    "font-size:12.5px;overflow-wrap:anywhere}"
    ".v-ok{background:#eaf6ee;border-color:#9fd3b1}.v-ok .badge{background:#2e9d57}"
    ".v-bad{background:#fcebea;border-color:#efaaa7}.v-bad .badge{background:#d33a35}"
    ".v-warn{background:#fdf3e4;border-color:#f0c98a}.v-warn .badge{background:#e08a12}"
    ".v-none{background:#f1f3f6;border-color:#c9d0d8}.v-none .badge{background:#7b8794}"
    ".tiles{display:grid;grid-template-columns:repeat(4,1fr);gap:6px;margin-bottom:6px}"
    ".tile{border:1px solid #dde3ea;border-radius:5px;padding:5px 8px;break-inside:avoid}"
    ".tile .k{font-size:11.5px;color:#5b6570}.tile .v{font-size:18px;font-weight:700;white-space:nowrap}"
    ".tile .v small{font-size:11px;font-weight:400;color:#5b6570;margin-left:2px}"
    ".tile .n{font-size:11.5px;min-height:1.2em}"
    "h2{font-size:15px;margin:14px 0 6px;padding-left:8px;border-left:4px solid #1f6fd1;break-after:avoid}"
    "section{margin-bottom:4px}"
    "figure{margin:0 0 4px;break-inside:avoid}"
    "svg.chart{display:block;width:100%;height:auto;font-family:inherit}"
    "svg .tick{font-size:11px;fill:#5b6570}svg .unit{font-size:11px;fill:#5b6570}"
    "svg .legend{font-size:11.5px;fill:#2f3a46}svg .line-label{font-size:11.5px;font-weight:600}"
    "svg .bar-label{font-size:11px;fill:#2f3a46}svg .band-label{font-size:12px;font-weight:600}"
    "svg .row-label{font-size:13px;fill:#1d2630}svg .row-value{font-size:13px;font-weight:600;fill:#1d2630}"
    "svg .grade{font-size:13px;font-weight:700}"
    ".lines{margin:2px 0 6px;padding:0;list-style:none}.lines li{padding:1px 0}"
    "table.data{width:100%;border-collapse:collapse;font-size:12px;margin:4px 0 8px}"
    "table.data th{background:#f1f4f8;color:#3b4654;font-weight:600;text-align:left;padding:3px 6px;"
    "border-bottom:1px solid #cfd6de}"
    "table.data td{padding:2.5px 6px;border-bottom:1px solid #e6eaef;overflow-wrap:anywhere}"
    "table.data tr{break-inside:avoid}table.data td:first-child{white-space:nowrap}"
    "table.data .num{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}"
    "table.data.narrow{width:auto;min-width:55%}"
    ".g-good{color:#2e9d57}.g-medium{color:#c2770c}.g-slow{color:#d33a35}.g-timeout{color:#7b8794}"
    ".none{color:#7b8794}.lead-in{break-after:avoid;margin-bottom:0}"
    ".cols{display:grid;grid-template-columns:1fr 1fr;gap:0 16px}"
    ".mono{font-family:Consolas,\"DejaVu Sans Mono\",monospace;font-size:11.5px;overflow-wrap:anywhere}"
    "footer{margin-top:12px;padding-top:6px;border-top:1px solid #dde3ea;font-size:11px;color:#6b7480;"
    "overflow-wrap:anywhere}"
    "@media print{html{background:none}.sheet{max-width:none;padding:0}}";

// What a figure that was never measured shows.
std::string Dash() { return U8("—"); }

// "2026-12-11T08:15:02+08:00" as people read it: "2026-12-11 08:15:02".
std::string ShownTime(const std::string& iso) {
  if (iso.size() >= 19 && iso[10] == 'T') return iso.substr(0, 10) + " " + iso.substr(11, 8);
  return iso;
}

std::string Num(double v, int decimals) {
  char buf[48];
  snprintf(buf, sizeof buf, "%.*f", decimals, std::isfinite(v) ? v : 0.0);
  return buf;
}

std::string ModeText(int32_t mode) {
  return mode == 2 ? U8("城域网模式") : mode == 1 ? U8("互联网模式") : U8("未知");
}

// The dial chosen in the settings window, by its option's text.
std::string LevelText(int32_t level) {
  switch (level) {
    case 4: return "4M";
    case 8: return "20M";
    case 12: return "100M";
    case 16: return "1000M";
    default: return std::to_string(level);
  }
}

const char* HopGradeClass(HopGrade g) {
  switch (g) {
    case HopGrade::kGood: return "g-good";
    case HopGrade::kMedium: return "g-medium";
    case HopGrade::kSlow: return "g-slow";
    case HopGrade::kTimeout: break;
  }
  return "g-timeout";
}

const char* HopGradeText(HopGrade g) {
  switch (g) {
    case HopGrade::kGood: return U8("良好");
    case HopGrade::kMedium: return U8("可能影响网速");
    case HopGrade::kSlow: return U8("严重影响网速");
    case HopGrade::kTimeout: break;
  }
  return U8("超时");
}

const char* AppGradeClass(double mbps) { return mbps > 8.0 ? "g-good" : mbps > 1.0 ? "g-medium" : "g-slow"; }

// Writes the page: our texts as they are, the record's escaped.
class Page {
 public:
  explicit Page(DoubleByteDecoder decode) : decode_(decode) {}
  Page& operator<<(const char* utf8) {
    out_ += utf8;
    return *this;
  }
  Page& operator<<(const std::string& utf8) {
    out_ += utf8;
    return *this;
  }
  // A text of the record (code page), escaped.
  Page& Text(const std::string& codePageText) {
    AppendHtmlText(out_, Utf8(codePageText));
    return *this;
  }
  // A UTF-8 text from elsewhere, escaped.
  Page& Esc(const std::string& utf8) {
    AppendHtmlText(out_, utf8);
    return *this;
  }
  std::string Utf8(const std::string& codePageText) const { return CodePageToUtf8(codePageText, decode_); }
  std::string& str() { return out_; }

 private:
  DoubleByteDecoder decode_;
  std::string out_;
};

void Fact(Page& p, const char* label, const std::string& valueUtf8, bool escape = true) {
  p << "<th>" << label << "</th><td>";
  if (escape) p.Esc(valueUtf8);
  else p << valueUtf8;
  p << "</td>";
}

void Tile(Page& p, const char* label, const std::string& value, const char* unit, const std::string& note,
          const char* noteClass = "") {
  p << "<div class=\"tile\"><div class=\"k\">" << label << "</div><div class=\"v\">";
  p.Esc(value);
  if (unit && *unit) p << "<small>" << unit << "</small>";
  p << "</div><div class=\"n " << noteClass << "\">";
  p.Esc(note);
  p << "</div></div>";
}

std::string MbpsOr(bool has, double v) { return has ? Num(v, 2) : Dash(); }

void Header(Page& p, const ResultRecord& r) {
  p << "<header><div><div class=\"brand\">VELTRANE " << U8("专线测试") << "</div><h1>"
    << U8("专线测试记录（本机存档）") << "</h1></div><div class=\"number\">" << U8("测试编号") << "<b>";
  p.Text(r.testNumber.empty() ? std::string("-") : r.testNumber);
  p << "</b></div></header>";
  p << "<table class=\"facts\"><tr>";
  Fact(p, U8("开始时间"), ShownTime(p.Utf8(r.startedAt)));
  Fact(p, U8("测试模式"), ModeText(r.mode));
  Fact(p, U8("测速档位"), LevelText(r.level));
  p << "</tr><tr>";
  Fact(p, U8("保存时间"), ShownTime(p.Utf8(r.savedAt)));
  bool contracted = r.exportState != ExportState::kNotExported;
  Fact(p, U8("签约带宽"), contracted ? p.Utf8(r.lineBandwidthText) : std::string(U8("未填写（未导出）")));
  Fact(p, U8("用户信息"), r.userInfo.empty() ? Dash() : p.Utf8(r.userInfo));
  p << "</tr></table>";
}

void KeyFigures(Page& p, const ResultRecord& r) {
  const BandwidthResult& b = r.bandwidth;
  const AppResult& a = r.apps;
  const DiagnosisResult& d = r.diagnosis;
  const ReportRecord& f = r.report;
  p << "<div class=\"tiles\">";
  std::string downNote;
  if (b.downloadDone && r.exportState != ExportState::kNotExported && r.lineBandwidth > 0)
    downNote = std::string(U8("签约带宽的 ")) + Num(100.0 * b.downloadMbps / r.lineBandwidth, 1) + "%";
  else if (b.downloadDone)
    downNote = std::string(U8("共 ")) + std::to_string(b.downloadSamples.size()) + U8(" 秒");
  Tile(p, U8("下载速率"), MbpsOr(b.downloadDone, b.downloadMbps), "Mbps", downNote);
  Tile(p, U8("上传速率"), MbpsOr(b.uploadDone, b.uploadMbps), "Mbps",
       b.uploadDone ? std::string(U8("共 ")) + std::to_string(b.uploadMeans.size()) + U8(" 秒")
                    : std::string());
  Tile(p, U8("平均往返时延"), b.pingDone ? std::to_string(b.pingMeanMs) : Dash(), U8("毫秒"),
       b.pingDone ? std::to_string(b.pingReplies.size()) + U8(" 次回应") : std::string());
  std::string hopNote;
  if (r.route.complete) {
    int medium = 0, slow = 0, timeouts = 0;
    for (const ResultHop& h : r.route.hops) {
      HopGrade g = GradeHopDelay(h.delayMs);
      medium += g == HopGrade::kMedium;
      slow += g == HopGrade::kSlow;
      timeouts += g == HopGrade::kTimeout;
    }
    hopNote = slow     ? std::to_string(slow) + U8(" 跳时延过大")
              : medium ? std::to_string(medium) + U8(" 跳时延偏大")
                       : std::string(U8("各跳时延均很小"));
    if (timeouts) hopNote += std::string(U8("，")) + std::to_string(timeouts) + U8(" 跳超时");
  }
  Tile(p, U8("路由跳数"), r.route.ran ? std::to_string(r.route.hops.size()) : Dash(), U8("跳"), hopNote);
  struct Box {
    const char* label;
    bool done;
    double v;
  } boxes[] = {{U8("网页访问体验"), a.webDone, a.webMbps},
               {U8("邮件应用体验"), a.mailDone, a.mailMbps},
               {U8("多线程下载体验"), a.downloadDone, a.downloadMbps}};
  for (const Box& x : boxes)
    Tile(p, x.label, MbpsOr(x.done, x.v), "Mbps", x.done ? AppGradeText(x.v) : "",
         x.done ? AppGradeClass(x.v) : "");
  bool diag = d.complete;
  Tile(p, U8("外网 / 内网时延"),
       diag ? std::to_string(f.delayWAN) + " / " + std::to_string(f.delayLAN) : Dash(), U8("毫秒"),
       diag ? std::string(U8("外网 ")) + std::to_string(f.hoopsWAN) + U8(" 跳，内网 ") +
                  std::to_string(f.hoopsLAN) + U8(" 跳")
            : std::string());
  p << "</div>";
}

void NotRun(Page& p, const char* what) { p << "<p class=\"none\">" << what << "</p>"; }

void Lines(Page& p, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  p << "<ul class=\"lines\">";
  for (const std::string& l : lines) {
    p << "<li>";
    p.Text(l);
    p << "</li>";
  }
  p << "</ul>";
}

void HopTable(Page& p, const std::vector<ResultHop>& hops) {
  p << "<table class=\"data\"><tr><th class=\"num\">" << U8("跳") << "</th><th>" << U8("地址")
    << "</th><th class=\"num\">" << U8("时延") << "</th><th>" << U8("评价") << "</th></tr>";
  int n = 0;
  for (const ResultHop& h : hops) {
    HopGrade g = GradeHopDelay(h.delayMs);
    p << "<tr><td class=\"num\">" << std::to_string(++n) << "</td><td class=\"mono\">";
    p.Text(h.address);
    p << "</td><td class=\"num\">" << (h.delayMs >= 0 ? std::to_string(h.delayMs) + U8(" 毫秒") : Dash())
      << "</td><td class=\"" << HopGradeClass(g) << "\">" << HopGradeText(g) << "</td></tr>";
  }
  p << "</table>";
}

void BandwidthSection(Page& p, const ResultRecord& r) {
  const BandwidthResult& b = r.bandwidth;
  p << "<section><h2>" << U8("带宽测试") << "</h2>";
  if (!b.ran) return NotRun(p, U8("本次未进行带宽测试。")), void(p << "</section>");
  double contracted = r.exportState != ExportState::kNotExported ? r.lineBandwidth : 0.0;
  p << "<figure>" << BandwidthChartSvg(b.downloadSamples, b.uploadMeans, contracted) << "</figure>";
  std::vector<std::string> notes;
  if (b.downloadDone)
    notes.push_back(std::string(U8("下载速率取各秒速率的修剪平均：")) + Num(b.downloadMbps, 2) + " Mbps");
  if (b.uploadDone)
    notes.push_back(std::string(U8("上传速率为上传阶段结束时的累计平均：")) + Num(b.uploadMbps, 2) + " Mbps");
  if (!b.complete) notes.push_back(U8("测试未完成：只记录了已经完成的部分。"));
  if (contracted <= 0)
    notes.push_back(U8("尚未填写签约带宽：导出报告时填写后，图中会画出签约带宽和 90% 标准线。"));
  p << "<ul class=\"lines\">";
  for (const std::string& n : notes) p << "<li>" << n << "</li>";
  p << "</ul></section>";
}

void RouteSection(Page& p, const ResultRecord& r) {
  const RouteResult& rt = r.route;
  p << "<section><h2>" << U8("路由质量") << "</h2>";
  if (!rt.ran) return NotRun(p, U8("本次未进行路由质量测试。")), void(p << "</section>");
  std::vector<std::string> addresses;
  for (const ResultHop& h : rt.hops) addresses.push_back(p.Utf8(h.address));
  if (!rt.hops.empty()) p << "<figure>" << HopDelayChartSvg(rt.hops, addresses) << "</figure>";
  Lines(p, rt.verdict);
  if (!rt.complete) NotRun(p, U8("测试未完成。"));
  if (!rt.hops.empty()) HopTable(p, rt.hops);
  p << "</section>";
}

void AppSection(Page& p, const ResultRecord& r) {
  const AppResult& a = r.apps;
  p << "<section><h2>" << U8("应用体验") << "</h2>";
  if (!a.ran) return NotRun(p, U8("本次未进行应用体验测试。")), void(p << "</section>");
  std::vector<AppBar> bars = {{U8("网页访问"), a.webDone, a.webMbps},
                              {U8("邮件应用"), a.mailDone, a.mailMbps},
                              {U8("多线程下载"), a.downloadDone, a.downloadMbps}};
  p << "<figure>" << AppGradeChartSvg(bars) << "</figure>";
  static const char* const kItems[] = {"",
                                       U8("门户网站 1"),
                                       U8("门户网站 2"),
                                       U8("门户网站 3"),
                                       U8("网页邮箱 1"),
                                       U8("网页邮箱 2"),
                                       U8("网页邮箱 3"),
                                       U8("测试平台图片")};
  p << "<table class=\"data\"><tr><th>" << U8("测试项") << "</th><th>" << U8("站点")
    << "</th><th class=\"num\">" << U8("速率") << "</th></tr>";
  for (int i = 1; i <= 7; ++i) {
    if (!a.itemHas[i]) continue;
    p << "<tr><td>" << kItems[i] << "</td><td class=\"mono\">";
    p.Text(a.itemSite[i]);
    p << "</td><td class=\"num\">"
      << (a.itemMbps[i] > 0 ? Num(a.itemMbps[i], 2) + " Mbps" : std::string(U8("超时"))) << "</td></tr>";
  }
  p << "</table>";
  p << "<ul class=\"lines\"><li>"
    << U8("多线程下载体验按带宽测试下载速率的 95% 计。评级：8 Mbps 以上很快，1–8 Mbps 一般，1 Mbps "
          "及以下很慢。")
    << "</li></ul>";
  if (!a.complete) NotRun(p, U8("测试未完成。"));
  p << "</section>";
}

void DiagnosisSection(Page& p, const ResultRecord& r) {
  const DiagnosisResult& d = r.diagnosis;
  const ReportRecord& f = r.report;
  p << "<section><h2>" << U8("内外网故障诊断") << "</h2>";
  if (!d.ran) return NotRun(p, U8("本次未进行内外网故障诊断。")), void(p << "</section>");
  if (d.failed) NotRun(p, U8("路由跟踪没有结果，诊断未完成。"));
  p << "<table class=\"data\"><tr><th>" << U8("公网地址") << "</th><th class=\"num\">" << U8("外网时延")
    << "</th><th class=\"num\">" << U8("外网跳数") << "</th><th class=\"num\">" << U8("内网时延")
    << "</th><th class=\"num\">" << U8("内网跳数") << "</th></tr><tr><td class=\"mono\">";
  p.Text(d.publicIp.empty() ? std::string("-") : d.publicIp);
  p << "</td><td class=\"num\">" << std::to_string(f.delayWAN) << U8(" 毫秒") << "</td><td class=\"num\">"
    << std::to_string(f.hoopsWAN) << "</td><td class=\"num\">" << std::to_string(f.delayLAN) << U8(" 毫秒")
    << "</td><td class=\"num\">" << std::to_string(f.hoopsLAN) << "</td></tr></table>";
  Lines(p, d.verdict);
  if (!d.hops.empty()) {
    p << "<p class=\"none lead-in\">" << U8("诊断所用的路由跟踪（各跳测得的时延）：") << "</p>";
    HopTable(p, d.hops);
  }
  p << "</section>";
}

void Details(Page& p, const ResultRecord& r, const std::string& recordFileName) {
  const BandwidthResult& b = r.bandwidth;
  p << "<section><h2>" << U8("测试明细") << "</h2>";
  if (b.ran && (!b.downloadSamples.empty() || !b.uploadMeans.empty())) {
    size_t rows = std::max(b.downloadSamples.size(), b.uploadMeans.size());
    p << "<table class=\"data narrow\"><tr><th class=\"num\">" << U8("秒") << "</th><th class=\"num\">"
      << U8("下载（每秒）") << "</th><th class=\"num\">" << U8("上传（累计平均）") << "</th></tr>";
    for (size_t i = 0; i < rows; ++i) {
      p << "<tr><td class=\"num\">" << std::to_string(i + 1) << "</td><td class=\"num\">"
        << (i < b.downloadSamples.size() ? Num(b.downloadSamples[i], 2) + " Mbps" : std::string(""))
        << "</td>"
        << "<td class=\"num\">"
        << (i < b.uploadMeans.size() ? Num(b.uploadMeans[i], 2) + " Mbps" : std::string("")) << "</td></tr>";
    }
    p << "</table>";
  }
  if (b.ran) {
    p << "<p>" << U8("时延测试各次回应：");
    if (b.pingReplies.empty()) p << U8("无");
    for (size_t i = 0; i < b.pingReplies.size(); ++i)
      p << (i ? U8("、") : "") << std::to_string(b.pingReplies[i]) << U8(" 毫秒");
    p << "</p>";
  }
  const ReportRecord& f = r.report;
  p << "<table class=\"data\"><tr><th>" << U8("报告") << "</th><th>" << U8("内容") << "</th></tr>";
  static const char* const kStates[] = {U8("未导出"), U8("已提交，测试平台已接受"),
                                        U8("已发出，测试平台未接受"), U8("未能连接测试平台")};
  p << "<tr><td>" << U8("提交情况") << "</td><td>" << kStates[static_cast<int>(r.exportState)];
  if (r.exportState != ExportState::kNotExported)
    p << U8("（代码 ") << std::to_string(r.exportCode) << U8("）");
  p << "</td></tr><tr><td>" << U8("报告文档") << "</td><td class=\"mono\">";
  if (r.documentAddress.empty()) p << U8("未打开");
  else p.Text(r.documentAddress);
  p << "</td></tr><tr><td>" << U8("提交的数据") << "</td><td class=\"mono\">";
  // The form's figures as the platform received them (texts as typed).
  std::string form = BuildReportBody(f, r.userInfo.c_str(), r.lineBandwidthText.c_str());
  while (!form.empty() && (form.back() == '\r' || form.back() == '\n')) form.pop_back();
  p.Text(form);
  p << "</td></tr><tr><td>" << U8("客户端") << "</td><td>Veltrane ";
  p.Text(r.clientVersion);
  p << U8("，测试平台 ") << "<span class=\"mono\">";
  p.Text(r.platformServer);
  p << "</span>" << U8("，服务器配置 ") << "<span class=\"mono\">";
  p.Text(r.serverOrigin);
  p << "</span></td></tr></table></section>";
  p << "<footer>" << U8("本页由 Veltrane 在本机生成，打开和打印都不需要网络。");
  if (!recordFileName.empty()) {
    p << U8("同一次测试的数据保存在同一文件夹的 ") << "<span class=\"mono\">";
    p.Esc(recordFileName);
    p << "</span>" << U8("（JSON 格式）。");
  }
  p << "</footer>";
}

}  // namespace

std::string VerdictBadge(const ResultRecord& r) {
  switch (r.exportState) {
    case ExportState::kNotExported: return U8("未导出");
    case ExportState::kRefused:
    case ExportState::kUnreachable: return U8("未提交");
    case ExportState::kAccepted: break;
  }
  return ResultMeetsBandwidth(r) ? U8("达标") : U8("未达标");
}

std::string VerdictSentence(const ResultRecord& r) {
  const double down = r.report.speed_speed;
  if (r.exportState == ExportState::kNotExported)
    return r.bandwidth.downloadDone ? std::string(U8("尚未导出报告。本次测得下载速率 ")) + Num(down, 2) +
                                          U8(" Mbps，结果已保存在本机。")
                                    : std::string(U8("尚未导出报告，已完成的测试结果保存在本机。"));
  std::string line = std::string(U8("下载速率 ")) + Num(down, 2) + " Mbps";
  if (r.lineBandwidth > 0) {
    line += ResultMeetsBandwidth(r) ? U8("，达到签约带宽 ") : U8("，低于签约带宽 ");
    line += std::to_string(r.lineBandwidth) + " Mbps " + U8("的 90%（") + Num(r.lineBandwidth * 0.9, 2) +
            " Mbps" + U8("）");
    if (!ResultMeetsBandwidth(r)) line += U8("，不能导出报告，请重新测速");
  }
  return line + U8("。");
}

std::string ReportPageHtml(const ResultRecord& r, DoubleByteDecoder decode,
                           const std::string& recordFileName) {
  Page p(decode);
  p << "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
    << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
       "'unsafe-inline'\">"
    << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
    << "<meta name=\"generator\" content=\"Veltrane\"><title>" << U8("专线测试记录 ");
  p.Text(r.testNumber);
  p << "</title><style>" << kStyle << "</style></head><body><div class=\"sheet\">";
  Header(p, r);

  const char* tone = "v-none";
  switch (r.exportState) {
    case ExportState::kNotExported: break;
    case ExportState::kRefused:
    case ExportState::kUnreachable: tone = "v-warn"; break;
    case ExportState::kAccepted: tone = ResultMeetsBandwidth(r) ? "v-ok" : "v-bad"; break;
  }
  p << "<div class=\"verdict " << tone << "\" data-verdict=\"" << ResultVerdict(r)
    << "\"><div class=\"badge\">" << VerdictBadge(r) << "</div><div><p class=\"lead\">";
  p.Esc(VerdictSentence(r));
  p << "</p><p class=\"sub\">";
  switch (r.exportState) {
    case ExportState::kAccepted: p << U8("报告已提交到测试平台。"); break;
    case ExportState::kRefused: p << U8("报告已发出，但测试平台没有接受，请稍后重新导出。"); break;
    case ExportState::kUnreachable: p << U8("报告未能送达测试平台，请检查网络后重新导出。"); break;
    case ExportState::kNotExported:
      p << U8("点击“导出报告”填写用户信息和签约带宽后，结果才会提交到测试平台。");
      break;
  }
  p << "</p></div></div>";
  KeyFigures(p, r);
  BandwidthSection(p, r);
  RouteSection(p, r);
  AppSection(p, r);
  DiagnosisSection(p, r);
  Details(p, r, recordFileName);
  p << "</div></body></html>\n";
  return p.str();
}

}  // namespace vt
