#include "base/ZipWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/Core/ZipArchive.h"

namespace {

std::string Bytes(size_t n, unsigned seed) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    s[i] = static_cast<char>(seed >> 16);
  }
  return s;
}

std::string ReadAll(FILE* f) {
  std::string out;
  rewind(f);
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  return out;
}

// Entries of every size class the writer meets: empty, one chunk, several
// chunks (a week of logs), text that deflates well and bytes that do not
// (a minidump's stacks).
TEST(ZipWriter, WritesWhatAReaderGetsBack) {
  struct Case {
    std::string name;
    std::string data;
    bool asFile;
  } cases[] = {
      {"bundle.txt", "Veltrane support bundle\r\n", false},
      {"logs/empty.log", "", true},
      {"logs/veltrane-20261211.log", std::string(200000, 'a') + "recv err\r\n", true},
      {"logs/crash-20261211-003307-1234.dmp", Bytes(150000, 7), true},
      {"reports/r.json", "{\"v\":1}", false},
  };
  FILE* out = tmpfile();
  ASSERT_TRUE(out);
  vt::ZipWriter zip(out);
  vt::ZipTime time{2026, 12, 11, 0, 33, 8};
  for (const auto& c : cases) {
    if (c.asFile) {
      FILE* in = tmpfile();
      ASSERT_TRUE(in);
      fwrite(c.data.data(), 1, c.data.size(), in);
      rewind(in);
      bool cut = true;
      EXPECT_TRUE(zip.AddFile(c.name, in, time, &cut)) << c.name;
      EXPECT_FALSE(cut);
      fclose(in);
    } else {
      EXPECT_TRUE(zip.AddText(c.name, c.data, time)) << c.name;
    }
  }
  ASSERT_TRUE(zip.Finish());
  std::string archive = ReadAll(out);
  fclose(out);
  EXPECT_LT(archive.size(), 160000u + 2000u);  // the repeated text deflated
  CZipArchive reader;
  ASSERT_TRUE(reader.OpenMemory(archive.data(), archive.size()));
  for (const auto& c : cases) {
    std::vector<char> got;
    ASSERT_EQ(reader.Read(c.name.c_str(), 1 << 20, got), c.data.empty() ? CZipArchive::kEmpty : CZipArchive::kOk)
        << c.name;
    EXPECT_EQ(std::string(got.begin(), got.end()), c.data) << c.name;
  }
}

TEST(ZipWriter, AnEmptyArchiveIsStillOne) {
  FILE* out = tmpfile();
  ASSERT_TRUE(out);
  vt::ZipWriter zip(out);
  ASSERT_TRUE(zip.Finish());
  std::string archive = ReadAll(out);
  fclose(out);
  ASSERT_EQ(archive.size(), 22u);
  EXPECT_EQ(archive.substr(0, 4), "PK\x05\x06");
}

}  // namespace
