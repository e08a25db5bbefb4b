// Page texts for a terminal: the inline markup's tags dropped, its line
// breaks shown as " / ".
#pragma once

#include <string>

namespace vt {
std::string PlainText(const char* markup);
}  // namespace vt
