// The charts of the local report page. Our texts are written as u8 literals
// (UTF-8 whatever the build's execution character set), numbers with the C
// locale's decimal point.
#include "model/ReportCharts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/CodePage.h"

#define U8(text) reinterpret_cast<const char*>(u8##text)

namespace vt {

namespace {

// Colours of the grades, shared with the page's tables (ReportPage.cpp).
const char kGood[] = "#2e9d57";
const char kMedium[] = "#e08a12";
const char kSlow[] = "#d33a35";
const char kTimeout[] = "#9aa1a9";
const char kDownload[] = "#1f6fd1";
const char kUpload[] = "#17a398";
const char kGrid[] = "#e3e7ec";
const char kAxisText[] = "#5b6570";

std::string Num(double v, int decimals) {
  char buf[48];
  snprintf(buf, sizeof buf, "%.*f", decimals, std::isfinite(v) ? v : 0.0);
  return buf;
}

// Coordinates with one decimal: enough for any printer, short in the file.
std::string Px(double v) { return Num(v, 1); }

// A tick value without trailing zeros: 0.5, 10, 2.5.
std::string TickText(double v) {
  std::string s = Num(v, 2);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

void Text(std::string& out, double x, double y, const char* anchor, const std::string& utf8, const char* cls,
          const char* fill = nullptr) {
  out += "<text x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" text-anchor=\"" + anchor + "\" class=\"" + cls + "\"";
  if (fill) out += std::string(" fill=\"") + fill + "\"";
  out += ">";
  AppendHtmlText(out, utf8);
  out += "</text>";
}

void Line(std::string& out, double x1, double y1, double x2, double y2, const char* stroke, double width,
          const char* dash = nullptr) {
  out += "<line x1=\"" + Px(x1) + "\" y1=\"" + Px(y1) + "\" x2=\"" + Px(x2) + "\" y2=\"" + Px(y2) +
         "\" stroke=\"" + stroke + "\" stroke-width=\"" + Num(width, 1) + "\"";
  if (dash) out += std::string(" stroke-dasharray=\"") + dash + "\"";
  out += "/>";
}

void Rect(std::string& out, double x, double y, double w, double h, const char* fill,
          const char* cls = nullptr, const std::string& title = std::string()) {
  out += "<rect";
  if (cls) out += std::string(" class=\"") + cls + "\"";
  out += " x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" width=\"" + Px(std::max(w, 0.0)) + "\" height=\"" +
         Px(std::max(h, 0.0)) + "\" fill=\"" + fill + "\"";
  if (title.empty()) {
    out += "/>";
  } else {
    out += "><title>";
    AppendHtmlText(out, title);
    out += "</title></rect>";
  }
}

std::string OpenSvg(int height, const char* label) {
  std::string out = "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " +
                    std::to_string(kChartWidth) + " " + std::to_string(height) +
                    "\" role=\"img\" aria-label=\"";
  AppendHtmlText(out, label);
  out += "\">";
  return out;
}

// A legend entry: a swatch and its text; returns the x after it.
double LegendEntry(std::string& out, double x, double y, const char* colour, const std::string& text,
                   bool line, const char* dash = nullptr) {
  if (line) Line(out, x, y - 4, x + 22, y - 4, colour, 2, dash);
  else Rect(out, x + 4, y - 10, 12, 12, colour);
  Text(out, x + 28, y, "start", text, "legend");
  // The text's width at the legend's size: about 12 units a Chinese
  // character, 6.5 an ASCII one.
  double width = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) width += 6.5;
    else if ((c & 0xC0) != 0x80) width += 12;
  }
  return x + 28 + width + 18;
}

const char* GradeColour(HopGrade g) {
  switch (g) {
    case HopGrade::kGood: return kGood;
    case HopGrade::kMedium: return kMedium;
    case HopGrade::kSlow: return kSlow;
    case HopGrade::kTimeout: break;
  }
  return kTimeout;
}

}  // namespace

void AppendHtmlText(std::string& out, const std::string& utf8) {
  const char* p = utf8.data();
  const size_t len = utf8.size();
  for (size_t pos = 0; pos < len;) {
    size_t n;
    uint32_t cp = ReadUtf8(p, len, pos, &n);
    pos += n;
    switch (cp) {
      case '&': out += "&amp;"; continue;
      case '<': out += "&lt;"; continue;
      case '>': out += "&gt;"; continue;
      case '"': out += "&quot;"; continue;
      case '\'': out += "&#39;"; continue;
      default: break;
    }
    if ((cp < 0x20 && cp != '\t' && cp != '\n') || cp == 0x7F) cp = 0xFFFD;
    AppendUtf8(out, cp);
  }
}

double NiceStep(double top, int ticks) {
  if (!(top > 0) || !std::isfinite(top) || ticks < 1) return 1.0;
  double raw = top / ticks;
  double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  double r = raw / magnitude;
  double nice = r <= 1.0 ? 1.0 : r <= 2.0 ? 2.0 : r <= 5.0 ? 5.0 : 10.0;
  return nice * magnitude;
}

std::string BandwidthChartSvg(const std::vector<double>& download, const std::vector<double>& upload,
                              double contractedMbps) {
  const int height = 292;
  // The right margin holds the labels of the two lines, clear of the data.
  const double left = 56, right = kChartWidth - 104, top = 30, bottom = 236;
  const double plotW = right - left, plotH = bottom - top;
  const bool contracted = contractedMbps > 0 && std::isfinite(contractedMbps);
  double peak = contracted ? contractedMbps : 0.0;
  for (double v : download) peak = std::max(peak, v);
  for (double v : upload) peak = std::max(peak, v);
  if (!(peak > 0)) peak = 1.0;
  double step = NiceStep(peak * 1.08, 6);
  double yMax = std::ceil(peak * 1.08 / step) * step;
  auto y = [&](double v) { return bottom - plotH * std::min(std::max(v, 0.0), yMax) / yMax; };
  const size_t n = std::max<size_t>(std::max(download.size(), upload.size()), 1);
  auto x = [&](size_t i) { return left + plotW * (static_cast<double>(i) + 0.5) / static_cast<double>(n); };

  std::string out = OpenSvg(height, U8("带宽测试：每秒速率"));
  for (double v = 0; v <= yMax + step / 2; v += step) {
    Line(out, left, y(v), right, y(v), kGrid, 1);
    Text(out, left - 6, y(v) + 4, "end", TickText(v), "tick");
  }
  Text(out, left, 14, "start", "Mbps", "unit");
  const size_t labelEvery = n <= 20 ? 1 : n <= 40 ? 2 : 5;
  for (size_t i = 0; i < n; ++i) {
    if ((i + 1) % labelEvery != 0 && i != 0) continue;
    Text(out, x(i), bottom + 16, "middle", std::to_string(i + 1), "tick");
  }
  Text(out, right, bottom + 32, "end", U8("各阶段开始后的第几秒"), "unit");
  Line(out, left, bottom, right, bottom, kAxisText, 1);

  if (contracted) {
    Line(out, left, y(contractedMbps), right, y(contractedMbps), "#3b4654", 1.5, "8 4");
    Line(out, left, y(contractedMbps * 0.9), right, y(contractedMbps * 0.9), kSlow, 1.5, "3 3");
  }
  struct Series {
    const std::vector<double>& values;
    const char* colour;
    const char* cls;
  } series[] = {{upload, kUpload, "pt-up"}, {download, kDownload, "pt-down"}};
  for (const Series& s : series) {
    if (s.values.empty()) continue;
    if (s.values.size() > 1) {
      out += "<polyline fill=\"none\" stroke=\"";
      out += s.colour;
      out += "\" stroke-width=\"2.2\" stroke-linejoin=\"round\" points=\"";
      for (size_t i = 0; i < s.values.size(); ++i) {
        if (i) out += ' ';
        out += Px(x(i)) + "," + Px(y(s.values[i]));
      }
      out += "\"/>";
    }
    for (size_t i = 0; i < s.values.size(); ++i) {
      out += std::string("<circle class=\"") + s.cls + "\" cx=\"" + Px(x(i)) + "\" cy=\"" +
             Px(y(s.values[i])) + "\" r=\"3.2\" fill=\"#fff\" stroke=\"" + s.colour +
             "\" stroke-width=\"2\"><title>" + std::to_string(i + 1) + U8(" 秒：") + Num(s.values[i], 2) +
             " Mbps</title></circle>";
    }
  }
  // Labels of the two lines in the right margin: the contracted bandwidth
  // above its line, the 90 % line below its own, so the two never touch.
  if (contracted) {
    Text(out, right + 6, y(contractedMbps) - 3, "start", std::string(U8("签约 ")) + TickText(contractedMbps),
         "line-label", "#3b4654");
    Text(out, right + 6, y(contractedMbps * 0.9) + 12, "start",
         std::string("90% ") + TickText(std::round(contractedMbps * 90.0) / 100.0), "line-label", kSlow);
  }
  double lx = left, ly = height - 6;
  lx = LegendEntry(out, lx, ly, kDownload, U8("下载（每秒速率）"), true);
  lx = LegendEntry(out, lx, ly, kUpload, U8("上传（累计平均速率）"), true);
  if (contracted) {
    lx = LegendEntry(out, lx, ly, "#3b4654", U8("签约带宽"), true, "8 4");
    LegendEntry(out, lx, ly, kSlow, U8("90% 标准线"), true, "3 3");
  }
  out += "</svg>";
  return out;
}

std::string HopDelayChartSvg(const std::vector<ResultHop>& hops, const std::vector<std::string>& addresses) {
  const int height = 262;
  const double left = 56, right = kChartWidth - 20, top = 30, bottom = 206;
  const double plotW = right - left, plotH = bottom - top;
  int32_t peak = 40;
  for (const ResultHop& h : hops) peak = std::max(peak, h.delayMs);
  double step = NiceStep(peak * 1.12, 5);
  double yMax = std::ceil(peak * 1.12 / step) * step;
  auto y = [&](double v) { return bottom - plotH * std::min(std::max(v, 0.0), yMax) / yMax; };
  const size_t n = std::max<size_t>(hops.size(), 1);
  const double slot = plotW / static_cast<double>(n);
  const double barW = std::min(34.0, slot * 0.68);

  std::string out = OpenSvg(height, U8("路由质量：每一跳的时延"));
  for (double v = 0; v <= yMax + step / 2; v += step) {
    Line(out, left, y(v), right, y(v), kGrid, 1);
    Text(out, left - 6, y(v) + 4, "end", TickText(v), "tick");
  }
  Text(out, left, 14, "start", U8("毫秒"), "unit");
  // The verdict's two thresholds.
  Line(out, left, y(15), right, y(15), kMedium, 1.2, "4 3");
  Line(out, left, y(30), right, y(30), kSlow, 1.2, "4 3");
  for (size_t i = 0; i < hops.size(); ++i) {
    const ResultHop& h = hops[i];
    double cx = left + slot * (static_cast<double>(i) + 0.5);
    std::string title = std::string(U8("第")) + std::to_string(i + 1) + U8("跳 ") +
                        (i < addresses.size() ? addresses[i] : std::string()) + " ";
    HopGrade grade = GradeHopDelay(h.delayMs);
    if (grade == HopGrade::kTimeout) {
      title += U8("超时");
      Rect(out, cx - barW / 2, bottom - 4, barW, 4, kTimeout, "hop", title);
      Text(out, cx, bottom - 9, "middle", U8("超时"), "bar-label", kTimeout);
    } else {
      title += std::to_string(h.delayMs) + U8(" 毫秒");
      double top2 = std::min(y(h.delayMs), bottom - 2.0);
      Rect(out, cx - barW / 2, top2, barW, bottom - top2, GradeColour(grade), "hop", title);
      Text(out, cx, top2 - 5, "middle", std::to_string(h.delayMs), "bar-label");
    }
    if (n <= 30 || i % 2 == 0) Text(out, cx, bottom + 16, "middle", std::to_string(i + 1), "tick");
  }
  Line(out, left, bottom, right, bottom, kAxisText, 1);
  Text(out, right, bottom + 32, "end", U8("第几跳"), "unit");
  double lx = left, ly = height - 6;
  lx = LegendEntry(out, lx, ly, kGood, U8("15 毫秒及以下：良好"), false);
  lx = LegendEntry(out, lx, ly, kMedium, U8("16–29 毫秒：可能影响网速"), false);
  lx = LegendEntry(out, lx, ly, kSlow, U8("30 毫秒及以上：严重影响"), false);
  LegendEntry(out, lx, ly, kTimeout, U8("超时"), false);
  out += "</svg>";
  return out;
}

const char* AppGradeText(double mbps) {
  if (mbps > 8.0) return U8("很快");
  if (mbps > 1.0) return U8("一般");
  return U8("很慢");
}

std::string AppGradeChartSvg(const std::vector<AppBar>& bars) {
  const double rowH = 40, top = 34;
  const int height = static_cast<int>(top + rowH * static_cast<double>(bars.size()) + 30);
  const double left = 110, right = kChartWidth - 150;
  double peak = 100;
  for (const AppBar& b : bars)
    if (b.measured) peak = std::max(peak, b.mbps);
  const double lo = 0.1, hi = std::pow(10.0, std::ceil(std::log10(peak) - 1e-9));
  auto x = [&](double v) {
    double c = std::min(std::max(v, lo), hi);
    return left + (right - left) * (std::log10(c) - std::log10(lo)) / (std::log10(hi) - std::log10(lo));
  };
  const double plotBottom = top + rowH * static_cast<double>(bars.size());

  std::string out = OpenSvg(height, U8("应用体验：速率与评级"));
  // The grade bands: very slow up to 1 Mbit/s, fair up to 8, fast above.
  struct Band {
    double from, to;
    const char* fill;
    const char* colour;
    const char* label;
  } bands[] = {{lo, 1.0, "#fbe6e5", kSlow, U8("很慢")},
               {1.0, 8.0, "#fcefd9", kMedium, U8("一般")},
               {8.0, hi, "#e2f3e8", kGood, U8("很快")}};
  for (const Band& b : bands) {
    Rect(out, x(b.from), top - 6, x(b.to) - x(b.from), plotBottom - top + 6, b.fill);
    Text(out, (x(b.from) + x(b.to)) / 2, top - 12, "middle", b.label, "band-label", b.colour);
  }
  for (double t = lo; t <= hi * 1.001; t *= 10) {
    Line(out, x(t), plotBottom, x(t), plotBottom + 4, kAxisText, 1);
    Text(out, x(t), plotBottom + 17, "middle", TickText(t), "tick");
  }
  Line(out, x(8.0), plotBottom, x(8.0), plotBottom + 4, kAxisText, 1);
  Text(out, x(8.0), plotBottom + 17, "middle", "8", "tick");
  Line(out, left, plotBottom, right, plotBottom, kAxisText, 1);
  Text(out, left - 10, plotBottom + 17, "end", "Mbps", "unit");
  for (size_t i = 0; i < bars.size(); ++i) {
    const AppBar& b = bars[i];
    double rowTop = top + rowH * static_cast<double>(i);
    double cy = rowTop + rowH / 2;
    Text(out, left - 10, cy + 5, "end", b.label, "row-label");
    if (!b.measured) {
      Text(out, left + 8, cy + 5, "start", U8("未测试"), "bar-label", kTimeout);
      continue;
    }
    const char* colour = b.mbps > 8.0 ? kGood : b.mbps > 1.0 ? kMedium : kSlow;
    double w = std::max(x(b.mbps) - left, 3.0);
    Rect(out, left, cy - 10, w, 20, colour, "app",
         std::string(b.label) + " " + Num(b.mbps, 2) + " Mbps " + AppGradeText(b.mbps));
    std::string value = b.mbps > 0 ? Num(b.mbps, 2) + " Mbps" : std::string(U8("超时"));
    Text(out, right + 12, cy + 5, "start", value, "row-value");
    Text(out, kChartWidth - 8, cy + 5, "end", AppGradeText(b.mbps), "grade", colour);
  }
  out += "</svg>";
  return out;
}

}  // namespace vt
