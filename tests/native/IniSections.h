// An ini text split into sections the way Windows' profile API hands them
// to the server-set reader, for tests without Windows: a "[name]" line opens
// a section, every other non-empty line up to the next one is the
// section's (comments included), and the lines before the first header
// form the section named "".
#pragma once

#include <string>
#include <vector>

#include "config/ServerSetIni.h"

inline std::vector<vt::IniSection> IniSections(const std::string& text) {
  std::vector<vt::IniSection> sections = {{"", {}, false}};
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (!line.empty() && line[0] == '[' && line.find(']') != std::string::npos) {
      sections.push_back({line.substr(1, line.find(']') - 1), {}, false});
    } else if (!line.empty()) {
      sections.back().lines.push_back(line);
    }
  }
  return sections;
}
