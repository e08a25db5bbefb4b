// The server-set files of config/ for the native tests, split into
// sections as the profile API hands them over (tests/native/IniSections.h).
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/ServerSetIni.h"
#include "tests/native/IniSections.h"

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
