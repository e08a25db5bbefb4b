// Regression tests for faults the fuzz targets (tests/fuzz) found in the
// parsers of outside input. Each input that failed is also kept under
// tests/fuzz/corpus/<target>/malformed/, so every campaign runs it again.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "cli/JsonLine.h"
#include "engines/trace/HopParser.h"
#include "engines/trace/TraceOutputReader.h"
#include "net/platform/VersionDocument.h"
#include "base/CodePage.h"
#include "base/UIString.h"

namespace {

// A JSON string as a GBK reader splits it: a lead byte pairs only with a
// real trail byte (0x40-0xFE but 0x7F). Returns the position of the quote
// that closes the string opened at 0, or npos.
size_t ClosingQuoteAsGbk(const std::string& s) {
  for (size_t i = 1; i < s.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    unsigned char next = i + 1 < s.size() ? static_cast<unsigned char>(s[i + 1]) : 0;
    if (c >= 0x81 && c <= 0xFE && next >= 0x40 && next <= 0xFE && next != 0x7F) {
      ++i;
    } else if (c == '\\') {
      ++i;
    } else if (c == '"') {
      return i;
    }
  }
  return std::string::npos;
}

TEST(UntrustedInput, JsonLeadByteWithoutTrailByteIsNoCharacter) {
  // json_line: a lead byte followed by a quote, a control byte or nothing
  // was copied with that byte as if it were a trail byte; a GBK reader then
  // saw the string end early or a raw control character inside it.
  const struct {
    const char* text;
    const char* json;
  } cases[] = {
      {"\x81\"", "\"?\\\"\""},
      {"a\x91\t", "\"a?\\t\""},
      {"\x91\x91\x91\x09", "\"\x91\x91?\\t\""},
      {"\xC9", "\"?\""},
      {"\xB1\x7F", "\"?\x7F\""},
      {"\xB1\x5C\\", "\"\xB1\x5C\\\\\""},  // a real pair keeps its '\' trail byte
      {"\xD6\xD0\xCE\xC4", "\"\xD6\xD0\xCE\xC4\""},
  };
  for (const auto& c : cases) {
    std::string out;
    vt::AppendJsonString(out, c.text);
    EXPECT_EQ(out, c.json) << c.text;
    EXPECT_EQ(ClosingQuoteAsGbk(out), out.size() - 1) << out;
  }
}

TEST(UntrustedInput, FormatMayUseTheStringsOwnText) {
  // ui_string: Format emptied the string and wrote into the buffer its
  // argument was read from (and freed it when the result outgrew it).
  const size_t lengths[] = {3, 40, 63, 64, 200};
  for (size_t n : lengths) {
    std::string text(n, 'x');
    text[0] = 'a';
    CUIString s(text.c_str());
    s.Format("%s[%s]%zu", std::string(70, 'p').c_str(), s.GetData(), n);
    EXPECT_EQ(std::string(s.GetData()), std::string(70, 'p') + "[" + text + "]" + std::to_string(n));

    CUIString t(text.c_str());
    t.Format(t.GetData());  // the format itself is the string's text
    EXPECT_EQ(std::string(t.GetData()), text);
    t.AppendFormat("%s|%s", t.GetData(), t.GetData());
    EXPECT_EQ(std::string(t.GetData()), text + text + "|" + text);
  }
}

TEST(UntrustedInput, HopAddressHoldsWholeCharactersOnly) {
  // trace_output: a line ending in a lead byte, or cut at its 127th byte
  // inside a double-byte character, gave an address ending in half a
  // character; the "|" joined after it became its trail byte.
  std::string cut(120, ' ');
  cut.replace(0, 4, "  1 ");
  cut.replace(10, 5, "12 ms");
  cut += "\xD6\xD0\xD6\xD0\xD6\xD0\xD6\xD0\r\n";  // byte 127 is the lead byte of the 4th character
  const struct {
    std::string line;
    const char* address;
  } cases[] = {
      {"22222120-000<1\xC9", "2120-000<1"},
      {"  1    12 ms  10.0.0.1\xC9\r\n", "10.0.0.1"},
      {"  1    12 ms  \xD6\xD0\xC9\r\n", "\xD6\xD0"},
      {cut, "\xD6\xD0\xD6\xD0\xD6\xD0"},
  };
  for (const auto& c : cases) {
    vt::HopRecord r = vt::ParseHopLine(c.line.data(), c.line.size());
    EXPECT_STREQ(r.address, c.address) << c.line;

    vt::TraceOutputReader reader;
    for (char ch : c.line + "\n") reader.Feed(ch);
    const CUIString& joined = reader.joined();
    if (joined.IsEmpty()) continue;
    // The separator is found where it was written, stepping by characters.
    EXPECT_EQ(joined.Find('|'), joined.GetLength() - 1) << c.line;
    EXPECT_EQ(vt::WholeCharsOfCutText(joined.GetData(), joined.GetLength() - 1), joined.GetLength() - 1);
  }
}

TEST(UntrustedInput, EmptyHopLineWithoutBuffer) {
  // trace_output (seed run): an empty line given as no buffer at all reached
  // memcpy with a null source, which UndefinedBehaviorSanitizer reports.
  vt::HopRecord r = vt::ParseHopLine(nullptr, 0);
  EXPECT_EQ(r.hop, 0);
  EXPECT_EQ(r.delay, -1);
  EXPECT_STREQ(r.address, vt::kHopTimeoutText);
}

TEST(UntrustedInput, VersionDocumentNestingIsBounded) {
  // version_document: a reply of nothing but nested start tags ran the XML
  // parser out of stack (600 KB of "<a>" on Linux; far less on a Windows
  // thread's 1 MB stack).
  std::string deep;
  for (int i = 0; i < 350000; ++i) deep += "<a>";  // about the text reply's 1 MiB bound
  VersionDocument doc{"keep", "keep", "keep"};
  EXPECT_FALSE(ReadVersionDocument(deep.c_str(), &doc));
  EXPECT_EQ(doc.version, "keep");

  auto nested = [](size_t levels, const char* inner) {
    std::string text = "<v ver=\"1.2\">";
    for (size_t i = 1; i < levels; ++i) text += "<a>";
    text += inner;
    for (size_t i = 1; i < levels; ++i) text += "</a>";
    return text + "</v>";
  };
  const struct {
    std::string text;
    bool read;
  } cases[] = {
      {nested(kVersionDocumentDepthLimit, ""), true},
      {nested(kVersionDocumentDepthLimit + 1, ""), false},
      {nested(kVersionDocumentDepthLimit, "<b/><c x='/'/>"), true},   // empty elements add no level
      {nested(kVersionDocumentDepthLimit, "<b x=\"/\">t</b>"), false},  // a '/' in a value does not close
      // tags inside comments, CDATA and attribute values are no elements
      {nested(kVersionDocumentDepthLimit, "<!-- <a><a> --><![CDATA[<a><a>]]><b x=\"<a><a>\"/>"), true},
      {"<?xml version=\"1.0\"?><!DOCTYPE v><v ver=\"1.2\"/>", true},
  };
  for (const auto& c : cases) {
    VersionDocument read;
    EXPECT_EQ(ReadVersionDocument(c.text.c_str(), &read), c.read) << c.text;
    if (c.read) {
      EXPECT_EQ(read.version, "1.2");
    }
  }
}

TEST(UntrustedInput, VersionDocumentEndingInsideAUtf8Sequence) {
  // version_document: after a byte-order mark the XML parser reads UTF-8 and
  // stepped over a whole sequence announced by a lead byte even where the
  // text ended first, reading past the terminator. The texts are given in
  // buffers of their exact size, so AddressSanitizer sees any such read.
  const char* texts[] = {
      "\xEF\xBB\xBF<v ver=\"1\">\xE1",
      "\xEF\xBB\xBF<v ver=\"1\">ab\xF0",
      "<?xml version=\"1.0\"?><v ver=\"1\">\xC3",
      "\xEF\xBB\xBF<\x91 v\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
      "er=<?\xEF\xBB<=>1=//\xE1",  // as the fuzzer found it
  };
  for (const char* text : texts) {
    size_t n = strlen(text) + 1;
    std::unique_ptr<char[]> exact(new char[n]);
    memcpy(exact.get(), text, n);
    VersionDocument doc;
    bool read = ReadVersionDocument(exact.get(), &doc);
    if (read) {
      EXPECT_LE(doc.version.size(), n) << text;
    }
  }
  VersionDocument doc;
  ASSERT_TRUE(ReadVersionDocument("\xEF\xBB\xBF<v ver=\"2.1\" url=\"u\">\xE1", &doc));
  EXPECT_EQ(doc.version, "2.1");  // the padding changes nothing the parser returns
}

}  // namespace
