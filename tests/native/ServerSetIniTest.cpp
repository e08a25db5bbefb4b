// The server set read from an ini file: the checks of hosts and URLs, a
// table of broken files each stopped with the one problem that names where
// and what, and the committed files of config/.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/ServerSet.h"
#include "config/ServerSetIni.h"
#include "tests/native/ServerSetFiles.h"

namespace {

using Sections = std::vector<vt::IniSection>;

TEST(ServerSetIni, PlainHosts) {
  struct Case {
    const char* host;
    bool plain;
  } cases[] = {
      {"127.0.80.1", true},
      {"198.19.80.1", true},
      {"0.0.0.0", true},
      {"255.255.255.255", true},
      {"platform.veltrane.example", true},
      {"localhost", true},
      {"ts-1.example", true},
      {"a1.b2.c3", true},
      {"Platform.Example.COM", true},
      {"", false},
      {"256.1.1.1", false},
      {"1.2.3", false},  // the resolver would read it as 1.2.0.3
      {"1.2.3.4.5", false},
      {"127.000.080.001", false},  // leading zeros: octal to inet_addr
      {"01.2.3.4", false},
      {"0x7f.1", false},    // hexadecimal to inet_addr
      {"host.123", false},  // a last label of digits only
      {"-host.example", false},
      {"host-.example", false},
      {"host..example", false},
      {".example", false},
      {"example.", false},
      {"host:80", false},
      {"host/path", false},
      {"ho st", false},
      {"host\tname", false},
      {"host&calc", false},
      {"\xC6\xBD\xCC\xA8.example", false},  // GBK bytes
      {"http://host", false},
  };
  for (const Case& c : cases) EXPECT_EQ(vt::IsPlainHost(c.host), c.plain) << c.host;
  std::string label63(63, 'a'), label64(64, 'a');
  EXPECT_TRUE(vt::IsPlainHost(label63 + ".example"));
  EXPECT_FALSE(vt::IsPlainHost(label64 + ".example"));
  std::string name253;
  for (int i = 0; i < 126; ++i) name253 += "a.";
  name253 += "a";
  ASSERT_EQ(name253.size(), 253u);
  EXPECT_TRUE(vt::IsPlainHost(name253));
  EXPECT_FALSE(vt::IsPlainHost("a" + name253));
}

TEST(ServerSetIni, Urls) {
  struct Case {
    const char* url;
    const char* problem;  // a part of the problem text; empty: good
  } cases[] = {
      {"http://127.0.80.11:8000/data.iso", ""},
      {"http://www.sina.com.cn/", ""},
      {"http://127.0.82.5/webmail/", ""},
      {"http://h.example/a/b?x=1&y=%20z", ""},
      {"http://h.example:65535/", ""},
      {"http://h.example:1/", ""},
      {"https://h.example/", "not an http:// URL"},
      {"HTTP://h.example/", "not an http:// URL"},
      {"h.example/data.iso", "not an http:// URL"},
      {"http://h.example", "no path"},
      {"http://h.example:8000", "no path"},
      {"http:///data.iso", "host not a plain host name"},
      {"http://1.2.3/data.iso", "host not a plain host name"},
      {"http://user@h.example/", "host not a plain host name"},
      {"http://h.example:0/", "port not a number from 1 to 65535"},
      {"http://h.example:65536/", "port not a number from 1 to 65535"},
      {"http://h.example:080/", "port not a number from 1 to 65535"},
      {"http://h.example:/", "port not a number from 1 to 65535"},
      {"http://h.example:80x/", "port not a number from 1 to 65535"},
      {"http://h.example/a b", "character 0x20 not allowed in the path"},
      {"http://h.example/a:b", "character \":\" not allowed in the path"},
      {"http://h.example/a#b", "character \"#\" not allowed in the path"},
      {"http://h.example/a\\b", "character \"\\\" not allowed in the path"},
      {"http://h.example/a\"b", "character \"\"\" not allowed in the path"},
      {"http://h.example/a\r\nHost: x", "character 0x0D not allowed in the path"},
      {"http://h.example/\xB2\xE2", "character 0xB2 not allowed in the path"},
  };
  for (const Case& c : cases) {
    std::string problem = vt::UrlProblem(c.url);
    if (!*c.problem) {
      EXPECT_EQ(problem, "") << c.url;
    } else {
      EXPECT_NE(problem.find(c.problem), std::string::npos) << c.url << ": " << problem;
    }
  }
  std::string longest = "http://h.example/" + std::string(vt::kMaxUrlLength - 17, 'a');
  ASSERT_EQ(longest.size(), vt::kMaxUrlLength);
  EXPECT_EQ(vt::UrlProblem(longest), "");
  EXPECT_EQ(vt::UrlProblem(longest + "a"), "longer than 512 characters");
}

// The lab's file with one change made to it.
Sections LabWith(const std::function<void(Sections&)>& change) {
  Sections sections = IniSections(ConfigFileText("lab.ini"));
  change(sections);
  return sections;
}

vt::IniSection& Named(Sections& sections, const char* name) {
  for (vt::IniSection& s : sections)
    if (s.name == name) return s;
  static vt::IniSection none;
  ADD_FAILURE() << "no section " << name;
  return none;
}

// Replaces the line of key in section (the key and "=" kept unless
// replacement has its own "=").
void SetLine(Sections& sections, const char* section, const std::string& key,
             const std::string& replacement) {
  for (std::string& line : Named(sections, section).lines) {
    if (line.compare(0, key.size() + 1, key + "=") == 0) {
      line = replacement.find('=') != std::string::npos ? replacement : key + "=" + replacement;
      return;
    }
  }
  ADD_FAILURE() << "no key " << key << " in " << section;
}

void Erase(Sections& sections, const char* name) {
  for (auto it = sections.begin(); it != sections.end(); ++it) {
    if (it->name == name) {
      sections.erase(it);
      return;
    }
  }
  ADD_FAILURE() << "no section " << name;
}

void DropLine(Sections& sections, const char* section, const std::string& key) {
  auto& lines = Named(sections, section).lines;
  for (auto it = lines.begin(); it != lines.end(); ++it) {
    if (it->compare(0, key.size() + 1, key + "=") == 0) {
      lines.erase(it);
      return;
    }
  }
  ADD_FAILURE() << "no key " << key << " in " << section;
}

TEST(ServerSetIni, BrokenFilesNameSectionKeyAndProblem) {
  struct Case {
    const char* name;
    std::function<void(Sections&)> change;
    vt::ServerSetProblem expected;  // "what" is matched as a prefix
  };
  const std::string tooLong = "http://h.example/" + std::string(600, 'a');
  const Case cases[] = {
      {"unknown section",
       [](Sections& s) {
         s.push_back({"proxy", {"host=1.2.3.4"}, false});
       },
       {"proxy", "", "unknown section"}},
      {"section twice",
       [](Sections& s) { s.push_back(Named(s, "metro_download")); },
       {"metro_download", "", "section given twice"}},
      {"missing section", [](Sections& s) { Erase(s, "app_sites"); }, {"app_sites", "", "missing section"}},
      {"missing servers", [](Sections& s) { Erase(s, "servers"); }, {"servers", "", "missing section"}},
      {"unknown key",
       [](Sections& s) { Named(s, "servers").lines.push_back("proxy=1.2.3.4"); },
       {"servers", "proxy", "unknown key"}},
      {"entry 0",
       [](Sections& s) { Named(s, "metro_download").lines.push_back("0=http://h.example/"); },
       {"metro_download", "0", "unknown key"}},
      {"entry past the table",
       [](Sections& s) { Named(s, "metro_download").lines.push_back("5=http://h.example/"); },
       {"metro_download", "5", "unknown key"}},
      {"entry with a leading zero",
       [](Sections& s) { SetLine(s, "metro_upload", "1", "01=http://h.example/"); },
       {"metro_upload", "01", "unknown key"}},
      {"missing entry",
       [](Sections& s) { DropLine(s, "metro_download", "3"); },
       {"metro_download", "3", "missing"}},
      {"missing entry of the longest table",
       [](Sections& s) { DropLine(s, "internet_download", "16"); },
       {"internet_download", "16", "missing"}},
      {"missing platform",
       [](Sections& s) { DropLine(s, "servers", "platform"); },
       {"servers", "platform", "missing"}},
      {"key twice",
       [](Sections& s) { Named(s, "app_sites").lines.push_back("2=http://h.example/"); },
       {"app_sites", "2", "given twice"}},
      {"key twice in other case",
       [](Sections& s) { Named(s, "servers").lines.push_back("PLATFORM=1.2.3.4"); },
       {"servers", "PLATFORM", "given twice"}},
      {"empty entry",
       [](Sections& s) { SetLine(s, "internet_upload", "4", ""); },
       {"internet_upload", "4", "empty"}},
      {"no key=value",
       [](Sections& s) { Named(s, "metro_upload").lines.push_back("http://h.example/"); },
       {"metro_upload", "http://h.example/", "not a key=value line"}},
      {"no key",
       [](Sections& s) { Named(s, "metro_upload").lines.push_back("=http://h.example/"); },
       {"metro_upload", "=http://h.example/", "not a key=value line"}},
      {"malformed URL",
       [](Sections& s) { SetLine(s, "metro_download", "2", "127.0.80.12:8000/data.iso"); },
       {"metro_download", "2", "not an http:// URL"}},
      {"bad port",
       [](Sections& s) { SetLine(s, "metro_upload", "6", "http://127.0.80.15:80000/recv_upload.php"); },
       {"metro_upload", "6", "port not a number from 1 to 65535"}},
      {"platform with a port",
       [](Sections& s) { SetLine(s, "servers", "platform", "127.0.80.1:80"); },
       {"servers", "platform", "not a plain host name or dotted IPv4 address"}},
      {"platform as a URL",
       [](Sections& s) { SetLine(s, "servers", "platform", "http://127.0.80.1/"); },
       {"servers", "platform", "not a plain host name or dotted IPv4 address"}},
      {"platform with a command",
       [](Sections& s) { SetLine(s, "servers", "platform", "1.2.3.4&calc"); },
       {"servers", "platform", "not a plain host name or dotted IPv4 address"}},
      {"over-long platform",
       [](Sections& s) { SetLine(s, "servers", "platform", std::string(300, 'a')); },
       {"servers", "platform", "longer than 253 characters"}},
      {"over-long URL",
       [&](Sections& s) { SetLine(s, "internet_download", "9", tooLong); },
       {"internet_download", "9", "longer than 512 characters"}},
      {"over-long update key",
       [](Sections& s) {
         Named(s, "servers").lines.push_back("update_public_key=" + std::string(1025, 'A'));
       },
       {"servers", "update_public_key", "longer than 1024 characters"}},
      {"update key with a space",
       [](Sections& s) { Named(s, "servers").lines.push_back("update_public_key=AB CD"); },
       {"servers", "update_public_key", "character 0x20 not allowed"}},
      {"update key of the wrong length",
       [](Sections& s) { Named(s, "servers").lines.push_back("update_public_key=" + std::string(126, 'a')); },
       {"servers", "update_public_key", "not 128 hexadecimal digits"}},
      {"update key not hexadecimal",
       [](Sections& s) { Named(s, "servers").lines.push_back("update_public_key=" + std::string(128, 'g')); },
       {"servers", "update_public_key", "not 128 hexadecimal digits"}},
      {"section cut by the reader",
       [](Sections& s) { Named(s, "internet_download").truncated = true; },
       {"internet_download", "", "too large to read"}},
      {"key before the first section",
       [](Sections& s) { Named(s, "").lines.push_back("platform=1.2.3.4"); },
       {"", "platform", "outside any section"}},
  };
  for (const Case& c : cases) {
    vt::ServerSet set = vt::ProductionServers();
    vt::ServerSetProblem problem;
    EXPECT_FALSE(vt::ReadServerSet(LabWith(c.change), &set, &problem)) << c.name;
    EXPECT_EQ(problem.section, c.expected.section) << c.name;
    EXPECT_EQ(problem.key, c.expected.key) << c.name;
    EXPECT_EQ(problem.what.compare(0, c.expected.what.size(), c.expected.what), 0)
        << c.name << ": " << problem.what;
    // Nothing of the file is taken when any of it is wrong.
    EXPECT_EQ(set.platformServer, vt::ProductionServers().platformServer) << c.name;
    EXPECT_EQ(set.MetroDownloadTable[0], vt::ProductionServers().MetroDownloadTable[0]) << c.name;
  }
}

TEST(ServerSetIni, WhatTheProfileApiMayLeaveIn) {
  // Blanks around keys and values, comments kept by the API, names in
  // another case, an update key: all read.
  Sections sections = LabWith([](Sections& s) {
    SetLine(s, "servers", "platform", "platform =  10.1.2.3 \t");
    vt::IniSection& servers = Named(s, "servers");
    servers.lines.insert(servers.lines.begin(), "; a comment");
    servers.lines.push_back("  # another");
    servers.lines.push_back("Update_Public_Key=" + std::string(64, '0') + std::string(64, 'f'));
    servers.name = "Servers";
    Named(s, "").lines.push_back("# only comments before the first section");
    Named(s, "app_sites").lines.push_back("   ");
  });
  vt::ServerSet set;
  set.origin = "kept";
  vt::ServerSetProblem problem;
  ASSERT_TRUE(vt::ReadServerSet(sections, &set, &problem))
      << problem.section << " " << problem.key << ": " << problem.what;
  EXPECT_EQ(set.platformServer, "10.1.2.3");
  EXPECT_EQ(set.updatePublicKey, std::string(64, '0') + std::string(64, 'f'));
  EXPECT_EQ(set.AppTestSites[4], "http://127.0.82.5/webmail/");
  EXPECT_EQ(set.origin, "kept");
  // The reserved key given empty is no key (the template's line uncommented).
  sections = LabWith([](Sections& s) { Named(s, "servers").lines.push_back("update_public_key="); });
  ASSERT_TRUE(vt::ReadServerSet(sections, &set, &problem)) << problem.what;
  EXPECT_EQ(set.updatePublicKey, "");
}

TEST(ServerSetIni, ProblemText) {
  EXPECT_EQ(vt::ServerSetProblemText("C:\\v\\veltrane.ini", {"metro_download", "3", "missing"}),
            "C:\\v\\veltrane.ini: [metro_download] 3: missing");
  EXPECT_EQ(vt::ServerSetProblemText("C:\\v\\veltrane.ini", {"proxy", "", "unknown section"}),
            "C:\\v\\veltrane.ini: [proxy]: unknown section");
  EXPECT_EQ(vt::ServerSetProblemText("x.ini", {"", "", "cannot be read"}), "x.ini: cannot be read");
}

bool SameSet(const vt::ServerSet& a, const vt::ServerSet& b) {
  bool same = a.platformServer == b.platformServer && a.updatePublicKey == b.updatePublicKey;
  for (size_t i = 0; i < std::size(a.MetroDownloadTable); ++i)
    same = same && a.MetroDownloadTable[i] == b.MetroDownloadTable[i];
  for (size_t i = 0; i < std::size(a.InternetDownloadTable); ++i)
    same = same && a.InternetDownloadTable[i] == b.InternetDownloadTable[i];
  for (size_t i = 0; i < std::size(a.MetroUploadTable); ++i)
    same = same && a.MetroUploadTable[i] == b.MetroUploadTable[i];
  for (size_t i = 0; i < std::size(a.InternetUploadTable); ++i)
    same = same && a.InternetUploadTable[i] == b.InternetUploadTable[i];
  for (size_t i = 0; i < std::size(a.AppTestSites); ++i)
    same = same && a.AppTestSites[i] == b.AppTestSites[i];
  return same;
}

// Every host the set names: the platform and each table entry's.
std::vector<std::string> Hosts(const vt::ServerSet& set) {
  std::vector<std::string> hosts = {set.platformServer};
  auto add = [&](const std::string* entries, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      std::string rest = entries[i].substr(7);  // after "http://"
      hosts.push_back(rest.substr(0, rest.find_first_of(":/")));
    }
  };
  add(set.MetroDownloadTable, std::size(set.MetroDownloadTable));
  add(set.InternetDownloadTable, std::size(set.InternetDownloadTable));
  add(set.MetroUploadTable, std::size(set.MetroUploadTable));
  add(set.InternetUploadTable, std::size(set.InternetUploadTable));
  add(set.AppTestSites, std::size(set.AppTestSites));
  return hosts;
}

TEST(ServerSetFiles, CommittedFilesReadWhole) {
  struct Case {
    const char* file;
    const char* platform;
    const char* hostPrefix;  // every host of the set starts so
  } cases[] = {{"lab.ini", "127.0.80.1", "127.0.8"}, {"netlab.ini", "198.19.80.1", "198.19.8"}};
  for (const Case& c : cases) {
    vt::ServerSet set;
    vt::ServerSetProblem problem;
    ASSERT_TRUE(ConfigServers(c.file, &set, &problem))
        << c.file << ": " << problem.section << " " << problem.key << ": " << problem.what;
    EXPECT_EQ(set.platformServer, c.platform);
    for (const std::string& host : Hosts(set))
      EXPECT_EQ(host.rfind(c.hostPrefix, 0), 0u) << c.file << ": " << host;
  }
}

TEST(ServerSetFiles, ProductionFileIsTheCompiledInSet) {
  vt::ServerSet set;
  vt::ServerSetProblem problem;
  ASSERT_TRUE(ConfigServers("production.ini", &set, &problem))
      << problem.section << " " << problem.key << ": " << problem.what;
  EXPECT_TRUE(SameSet(set, vt::ProductionServers()));
}

// A program started without an ini never contacts a lab: no host of the
// compiled-in set is a loopback, benchmarking-range or local name.
TEST(ServerSetFiles, ProductionSetNamesNoLabAddress) {
  const vt::ServerSet& set = vt::ProductionServers();
  EXPECT_EQ(set.origin, "compiled-in");
  EXPECT_TRUE(set.updatePublicKey.empty());
  for (const std::string& host : Hosts(set)) {
    EXPECT_TRUE(vt::IsPlainHost(host)) << host;
    EXPECT_NE(host.rfind("127.", 0), 0u) << host;
    EXPECT_NE(host.rfind("198.18.", 0), 0u) << host;
    EXPECT_NE(host.rfind("198.19.", 0), 0u) << host;
    EXPECT_NE(host, "localhost");
  }
  for (const std::string* table : {set.MetroDownloadTable, set.InternetDownloadTable, set.MetroUploadTable,
                                   set.InternetUploadTable, set.AppTestSites})
    EXPECT_EQ(vt::UrlProblem(table[0]), "");
}

TEST(ServerSetFiles, InUseUntilReplaced) {
  EXPECT_TRUE(SameSet(vt::Servers(), vt::ProductionServers()));
  {
    LabServersInUse lab;
    ASSERT_TRUE(lab.ok());
    EXPECT_EQ(vt::Servers().platformServer, "127.0.80.1");
    EXPECT_EQ(vt::Servers().MetroDownloadTable[3], "http://127.0.80.13:8000/data.iso");
  }
  EXPECT_TRUE(SameSet(vt::Servers(), vt::ProductionServers()));
  EXPECT_EQ(vt::ServerSetSummary(vt::Servers()),
            "servers: platform platform.veltrane.example, update key none, compiled-in");
  vt::ServerSet set = vt::ProductionServers();
  set.origin = "C:\\app\\veltrane.ini";
  set.updatePublicKey = "AAAA";
  EXPECT_EQ(vt::ServerSetSummary(set),
            "servers: platform platform.veltrane.example, update key set, from C:\\app\\veltrane.ini");
}

}  // namespace
