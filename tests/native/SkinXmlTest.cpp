#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/Core/SkinXml.h"

namespace {

TEST(SkinXml, ReadsTreeAttributesAndText) {
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromText(
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- a comment -->\n"
      "<Window size=\"900,550\" caption=\"0,0,0,110\">\n"
      "  <Font name=\"SimSun\" size=\"12\" default=\"true\"/>\n"
      "  <Container bkcolor=\"#FFFFFFFF\"><Label name=\"a\" text=\"x\"/><Label name=\"b\">inner</Label></Container>\n"
      "</Window>"))
      << doc.GetLastErrorMessage();
  CSkinXmlNode root = doc.GetRoot();
  EXPECT_STREQ(root.GetName(), "Window");
  EXPECT_EQ(root.GetAttributeCount(), 2);
  EXPECT_STREQ(root.GetAttributeValue("caption"), "0,0,0,110");
  EXPECT_EQ(root.GetAttributeValue("missing"), nullptr);
  CSkinXmlNode font = root.GetChild();
  EXPECT_STREQ(font.GetName(), "Font");
  EXPECT_FALSE(font.HasChildren());
  CSkinXmlNode box = font.GetSibling();
  EXPECT_STREQ(box.GetName(), "Container");
  EXPECT_FALSE(box.GetSibling().IsValid());
  CSkinXmlNode a = box.GetChild();
  CSkinXmlNode b = a.GetSibling();
  EXPECT_STREQ(a.GetAttributeValue("name"), "a");
  EXPECT_STREQ(b.GetText(), "inner");
  EXPECT_STREQ(b.GetParent().GetName(), "Container");
  EXPECT_STREQ(a.GetAttributeName(0), "name");
  EXPECT_EQ(a.GetAttributeName(2), nullptr);
  EXPECT_EQ(a.GetAttributeValue(-1), nullptr);
}

TEST(SkinXml, AttributesWithoutSeparatingBlanksAndLiteralMarkup) {
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromText(
      "<Text pos=\"160,43,220,63\"textcolor=\"FF888888\" text=\"<f 4>速度</f><n>\" t2 = \"a&amp;b&lt;&gt;&quot;&apos;&x;&\"/>"));
  CSkinXmlNode n = doc.GetRoot();
  ASSERT_EQ(n.GetAttributeCount(), 4);
  EXPECT_STREQ(n.GetAttributeValue("pos"), "160,43,220,63");
  EXPECT_STREQ(n.GetAttributeValue("textcolor"), "FF888888");
  EXPECT_STREQ(n.GetAttributeValue("text"), "<f 4>速度</f><n>");
  EXPECT_STREQ(n.GetAttributeValue("t2"), "a&b<>\"'&x;&");
}

TEST(SkinXml, TextAfterFirstChildIsDroppedAndEntitiesDecodedInText) {
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromText("<a> x &lt;1&gt; <b/>tail</a>"));
  EXPECT_STREQ(doc.GetRoot().GetText(), " x <1> ");
  EXPECT_STREQ(doc.GetRoot().GetChild().GetText(), "");
}

TEST(SkinXml, UnclosedRootIsTolerated) {
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromText("<Window size=\"1,2\"><Control/>"));
  EXPECT_STREQ(doc.GetRoot().GetChild().GetName(), "Control");
  // ... but not an unclosed element deeper down.
  EXPECT_FALSE(doc.LoadFromText("<Window><Container>"));
  EXPECT_STREQ(doc.GetLastErrorMessage(), "Expected end-tag start");
  EXPECT_FALSE(doc.IsValid());
}

TEST(SkinXml, KeepsAtMost64AttributesPerElement) {
  std::string text = "<a";
  for (int i = 0; i < 70; ++i) text += " k" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
  text += "><b k=\"v\"/></a>";
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromText(text.c_str()));
  EXPECT_EQ(doc.GetRoot().GetAttributeCount(), 64);
  EXPECT_STREQ(doc.GetRoot().GetAttributeValue("k63"), "63");
  EXPECT_EQ(doc.GetRoot().GetAttributeValue("k64"), nullptr);
  EXPECT_STREQ(doc.GetRoot().GetChild().GetAttributeValue("k"), "v");
}

TEST(SkinXml, ManySiblingsAndDeepNestingNeedNoStack) {
  std::string text = "<r>";
  for (int i = 0; i < 3000; ++i) text += "<c/>";
  for (int i = 0; i < 100000; ++i) text += "<d>";
  for (int i = 0; i < 100000; ++i) text += "</d>";
  text += "</r>";
  CSkinXml doc;
  ASSERT_TRUE(doc.LoadFromText(text.c_str())) << doc.GetLastErrorMessage();
  int n = 0;
  for (CSkinXmlNode c = doc.GetRoot().GetChild(); c.IsValid(); c = c.GetSibling()) ++n;
  EXPECT_EQ(n, 3001);
}

struct ErrorCase {
  const char* text;
  const char* message;
  const char* location;
};

TEST(SkinXml, ReportsExactErrorsWithLocation) {
  const ErrorCase cases[] = {
      {"junk<a/>", "Expected start tag", "junk<a/>"},
      {"", "Expected start tag", ""},
      {"<a/></b>", "Expected start tag", "</b>"},
      {"<>", "Error parsing element name", ">"},
      {"<a\"x\"/>", "Error parsing element name", "\"x\"/>"},
      {"<a b=\"1\" / >", "Expected start-tag closing", "/ >"},
      {"<a b=\"1\"", "Expected start-tag closing", ""},
      {"<a b=\"1\" ?>", "Error while parsing attributes", "?>"},
      {"<a><b></a>", "Unmatched closing tag", "a>"},
      {"<a><b></b ", "Unmatched closing tag", ""},
      {"<a><b>", "Expected end-tag start", ""},
      {"<a =\"1\"/>", "Error while parsing attributes", "=\"1\"/>"},
      {"<a b/>", "Expected attribute value", "/>"},
      {"<a b='1'/>", "Expected attribute value", "'1'/>"},
      {"<a b=\"1/>", "Error while parsing attribute string", ""},
  };
  for (const ErrorCase& c : cases) {
    CSkinXml doc;
    EXPECT_FALSE(doc.LoadFromText(c.text)) << c.text;
    EXPECT_STREQ(doc.GetLastErrorMessage(), c.message) << c.text;
    EXPECT_STREQ(doc.GetLastErrorLocation(), c.location) << c.text;
    EXPECT_FALSE(doc.GetRoot().IsValid());
  }
}

TEST(SkinXml, ErrorLocationIsCutToWholeCharacters) {
  std::string text = "<a b=\"1\"";
  text += " ";
  for (int i = 0; i < 30; ++i) text += "\xCB\xD9";  // 60 bytes of GBK
  CSkinXml doc;
  EXPECT_FALSE(doc.LoadFromText(text.c_str()));
  EXPECT_EQ(strlen(doc.GetLastErrorLocation()), 48u);
}

TEST(SkinXml, BytesSkipUtf8MarkAndConvertUtf16) {
  CSkinXml doc;
  const char utf8[] = "\xEF\xBB\xBF<a t=\"1\"/>";
  ASSERT_TRUE(doc.LoadFromBytes(utf8, sizeof(utf8) - 1, CSkinXml::kUtf8));
  EXPECT_STREQ(doc.GetRoot().GetAttributeValue("t"), "1");
  const char le[] = "\xFF\xFE<\0a\0/\0>\0";
  ASSERT_TRUE(doc.LoadFromBytes(le, sizeof(le) - 1, CSkinXml::kUtf16));
  EXPECT_STREQ(doc.GetRoot().GetName(), "a");
  const char be[] = "\xFE\xFF\0<\0b\0/\0>";
  ASSERT_TRUE(doc.LoadFromBytes(be, sizeof(be) - 1, CSkinXml::kUtf16));
  EXPECT_STREQ(doc.GetRoot().GetName(), "b");
  EXPECT_FALSE(doc.LoadFromBytes("<\0a\0", 4, CSkinXml::kUtf16));  // no byte-order mark
  EXPECT_FALSE(doc.LoadFromBytes("", 0, CSkinXml::kUtf8));
  EXPECT_STREQ(doc.GetLastErrorMessage(), "File is empty");
}

}  // namespace
