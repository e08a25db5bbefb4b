// Every Windows and GUI test executable talks to the lab, never to the
// production servers: before its first test it reads config/lab.ini with
// the program's own reader and puts that set in use, as the programs do
// with --config. A file that cannot be used fails the whole executable.
#include <gtest/gtest.h>

#include <string>

#include "config/ServerSet.h"
#include "config/ServerSetFile_win.h"

namespace {

class LabServers : public ::testing::Environment {
 public:
  void SetUp() override {
    vt::ServerSet set;
    std::string problem;
    ASSERT_TRUE(vt::ReadServerSetFile(VT_LAB_INI, &set, &problem)) << problem;
    vt::UseServers(set);
  }
};

const ::testing::Environment* const g_labServers = ::testing::AddGlobalTestEnvironment(new LabServers);

}  // namespace
