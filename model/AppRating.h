// Grades of the application page's boxes.
#pragma once

namespace vt {
// "很快" above 8 Mbit/s, "一般" above 1, else "很慢".
const char* RateComment(double mbps);
// The badge image string for the same grades.
const char* RateIcon(double mbps);
}  // namespace vt
