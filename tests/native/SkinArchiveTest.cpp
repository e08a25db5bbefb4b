#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/ZipWriter.h"
#include "ui/Core/SkinFiles.h"
#include "ui/Core/SkinXml.h"
#include "ui/Core/ZipArchive.h"

namespace {

std::string ReadEntry(CZipArchive& zip, const char* name, CZipArchive::Result* result = nullptr,
                      size_t limit = 1 << 20) {
  std::vector<char> out;
  CZipArchive::Result r = zip.Read(name, limit, out);
  if (result) *result = r;
  return std::string(out.begin(), out.end());
}

TEST(ZipArchive, FindsEntriesWithoutCaseAndWithEitherSeparator) {
  std::string bytes = testzip::Build({{"mainframe.xml", "<Window/>", true},
                                      {"img/dial_bk.png", std::string(3000, 'x'), false},
                                      {"img/Big.bin", std::string(100, 'y')}});
  CZipArchive zip;
  ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(ReadEntry(zip, "mainframe.xml"), "<Window/>");
  EXPECT_EQ(ReadEntry(zip, "img\\dial_bk.png").size(), 3000u);
  EXPECT_EQ(ReadEntry(zip, "IMG\\DIAL_BK.PNG").size(), 3000u);
  const struct {
    const char* name;
    size_t limit;
    CZipArchive::Result result;
  } cases[] = {{"missing.xml", 1 << 20, CZipArchive::kNotFound},
               {"img/big.bin", 99, CZipArchive::kTooLarge},
               {"img/big.bin", 100, CZipArchive::kOk}};
  for (const auto& c : cases) {
    CZipArchive::Result r;
    ReadEntry(zip, c.name, &r, c.limit);
    EXPECT_EQ(r, c.result) << c.name;
  }
  std::string longName(256, 'a');
  CZipArchive::Result r;
  ReadEntry(zip, longName.c_str(), &r);
  EXPECT_EQ(r, CZipArchive::kNotFound);
}

TEST(ZipArchive, RefusesEmptyEntriesCorruptDataAndNonArchives) {
  std::string bytes = testzip::Build({{"empty.xml", "", false}, {"bad.xml", std::string(500, 'z'), true, true}});
  CZipArchive zip;
  ASSERT_TRUE(zip.OpenMemory(bytes.data(), bytes.size()));
  CZipArchive::Result r;
  ReadEntry(zip, "empty.xml", &r);
  EXPECT_EQ(r, CZipArchive::kEmpty);
  std::string got = ReadEntry(zip, "bad.xml", &r);
  EXPECT_EQ(r, CZipArchive::kInflateFailed);
  EXPECT_TRUE(got.empty());
  CZipArchive junk;
  EXPECT_FALSE(junk.OpenMemory("not a zip at all", 16));
  EXPECT_FALSE(junk.OpenMemory(bytes.data(), 0));
  EXPECT_EQ(ReadEntry(junk, "x", &r), "");
  EXPECT_EQ(r, CZipArchive::kNotOpen);
  // Every cut of a valid archive is refused or read safely, never past its end.
  for (size_t cut = 0; cut < bytes.size(); cut += 7) {
    std::vector<char> copy(bytes.begin(), bytes.begin() + cut);
    CZipArchive part;
    if (part.OpenMemory(copy.data(), copy.size())) ReadEntry(part, "bad.xml", &r);
  }
}

class SkinFilesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    vt::ResetSkinArchiveForTest();
    vt::SetSkinPath("");
  }
};

TEST_F(SkinFilesTest, LayoutsComeFromTheArchiveOnceRegistered) {
  static std::string first = testzip::Build(
      {{"a.xml", "<Window size=\"1,2\"/>"}, {"empty.xml", "", false}, {"bad.xml", std::string(99, 'q'), true, true}});
  static std::string second = testzip::Build({{"a.xml", "<Other/>"}});
  ASSERT_TRUE(vt::SetSkinArchiveMemory(first.data(), first.size()));
  ASSERT_TRUE(vt::SetSkinArchiveMemory(second.data(), second.size()));  // no change: the first stays
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromFile("A.XML"));
  EXPECT_STREQ(doc.GetRoot().GetName(), "Window");
  const struct {
    const char* name;
    const char* error;
  } cases[] = {{"none.xml", "Could not find ziped file"}, {"empty.xml", "File is empty"},
               {"bad.xml", "Could not unzip file"}};
  for (const auto& c : cases) {
    EXPECT_FALSE(doc.LoadFromFile(c.name));
    EXPECT_STREQ(doc.GetLastErrorMessage(), c.error) << c.name;
  }
}

TEST_F(SkinFilesTest, WithoutArchiveFilesComeFromTheSkinPath) {
  std::string dir = ::testing::TempDir();
  std::string path = dir + "/skinfiles_layout.xml";
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fputs("<Window/>", f);
  fclose(f);
  std::string emptyPath = dir + "/skinfiles_empty.xml";
  f = fopen(emptyPath.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fclose(f);
  vt::SetSkinPath((dir + "/").c_str());
  CSkinXml doc;
  EXPECT_TRUE(doc.LoadFromFile("skinfiles_layout.xml"));
  EXPECT_FALSE(doc.LoadFromFile("skinfiles_none.xml"));
  EXPECT_STREQ(doc.GetLastErrorMessage(), "Error opening file");
  EXPECT_FALSE(doc.LoadFromFile("skinfiles_empty.xml"));
  EXPECT_STREQ(doc.GetLastErrorMessage(), "File is empty");
  std::vector<char> out;
  const char* error = nullptr;
  EXPECT_FALSE(vt::ReadPlainFile(path.c_str(), 5, out, &error));
  EXPECT_STREQ(error, "File too large");
  vt::SetSkinArchiveFile((dir + "/no-such.zip").c_str());
  EXPECT_FALSE(doc.LoadFromFile("skinfiles_layout.xml"));
  EXPECT_STREQ(doc.GetLastErrorMessage(), "Error opening zip file");
}

TEST_F(SkinFilesTest, SkinPathGetsOneSeparator) {
  vt::SetSkinPath("C:\\app");
  EXPECT_STREQ(vt::GetSkinPath(), "C:\\app\\");
  vt::SetSkinPath("C:\\app\\");
  EXPECT_STREQ(vt::GetSkinPath(), "C:\\app\\");
  vt::SetSkinPath("/x/");
  EXPECT_STREQ(vt::GetSkinPath(), "/x/");
  vt::SetSkinPath("C:\\\xB1\\");  // ends in a double-byte character whose trail byte is '\'
  EXPECT_STREQ(vt::GetSkinPath(), "C:\\\xB1\\\\");
}

}  // namespace
