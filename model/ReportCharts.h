// The local report page's charts, drawn as inline SVG by our own code (the
// page must open and print on a PC without a network, so nothing is
// fetched and no script runs). Every text handed in and every text given
// back is UTF-8; texts from outside (hop addresses) are escaped here.
//
// The charts are sized in a view box of kChartWidth units and scale with
// the page; the test that renders the page counts their points by class:
//   bandwidth chart  circle.pt-down (one per download second),
//                    circle.pt-up (one per upload second)
//   hop chart        rect.hop (one per hop, timeouts included)
//   grade chart      rect.app (one per application box measured)
#pragma once

#include <string>
#include <vector>

#include "model/ResultRecord.h"

namespace vt {

constexpr int kChartWidth = 680;

// Appends text for HTML or SVG content and attribute values: & < > " '
// escaped; text that is not well-formed UTF-8 and control characters other
// than tab and line feed become U+FFFD.
void AppendHtmlText(std::string& out, const std::string& utf8);

// A step of 1, 2 or 5 × 10^k that divides 0..top into about `ticks` parts.
double NiceStep(double top, int ticks);

// Download per second and the upload phase's running mean per second, in
// Mbit/s, against the contracted bandwidth and its 90 % (no lines when
// contractedMbps is 0 or less).
std::string BandwidthChartSvg(const std::vector<double>& download, const std::vector<double>& upload,
                              double contractedMbps);

// One bar per hop, coloured by the route verdict's grade (GradeHopDelay);
// a hop without a time gets a grey stub marked "超时". addresses are the
// hops' addresses in UTF-8 (shown as each bar's tooltip).
std::string HopDelayChartSvg(const std::vector<ResultHop>& hops, const std::vector<std::string>& addresses);

// The three application boxes on a logarithmic speed axis over the grade
// bands of the page (very slow up to 1 Mbit/s, fair up to 8, fast above).
struct AppBar {
  const char* label;  // UTF-8
  bool measured;
  double mbps;
};
std::string AppGradeChartSvg(const std::vector<AppBar>& bars);

// The grade texts of the application page, in UTF-8: "很快", "一般", "很慢".
const char* AppGradeText(double mbps);

}  // namespace vt
