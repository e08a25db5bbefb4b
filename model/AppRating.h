// Grades of the application page's boxes.
#pragma once

#include <string>

namespace vt {
// "很快" above 8 Mbit/s, "一般" above 1, else "很慢".
const char* RateComment(double mbps);
// The badge image string for the same grades.
const char* RateIcon(double mbps);
// A speed of the page's boxes: "%.2fMbps" above 0, else the given text
// ("超时" for a site, "测试超时" for a box).
std::string AppSpeedText(double mbps, const char* nothing);
}  // namespace vt
