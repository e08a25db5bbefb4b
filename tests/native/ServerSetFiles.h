// The server-set files of config/ for the native tests, split into sections
// the way Windows' profile API hands them to the reader: a "[name]" line
// opens a section, every other line up to the next one is the section's
// (comments included), lines before the first section belong to none.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/ServerSetIni.h"

inline std::vector<vt::IniSection> IniSections(const std::string& text) {
  std::vector<vt::IniSection> sections;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (!line.empty() && line[0] == '[' && line.find(']') != std::string::npos) {
      sections.push_back({line.substr(1, line.find(']') - 1), {}, false});
    } else if (!sections.empty() && !line.empty()) {
      sections.back().lines.push_back(line);
    }
  }
  return sections;
}

inline std::string ConfigFileText(const std::string& name) {
  std::ifstream in(std::string(VT_CONFIG_DIR) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The set of config/<name>; *problem says why when it cannot be read.
inline bool ConfigServers(const std::string& name, vt::ServerSet* set, vt::ServerSetProblem* problem) {
  std::string text = ConfigFileText(name);
  if (text.empty()) {
    *problem = {"", "", "config/" + name + " is missing or empty"};
    return false;
  }
  return vt::ReadServerSet(IniSections(text), set, problem);
}

// Puts config/lab.ini's set in use for a test and the production set back
// after it.
class LabServersInUse {
 public:
  LabServersInUse() {
    vt::ServerSet set;
    vt::ServerSetProblem problem;
    ok_ = ConfigServers("lab.ini", &set, &problem);
    if (ok_) vt::UseServers(set);
  }
  ~LabServersInUse() { vt::UseServers(vt::ProductionServers()); }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};
