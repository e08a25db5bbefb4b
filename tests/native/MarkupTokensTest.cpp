#include "ui/Core/MarkupTokens.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every token of a text as "T:text", "O:f:arg", "C:f", "E:{", "S", "L".
std::string Tokens(const std::string& text, bool raw = false) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    vt::MarkupToken t = vt::ReadMarkupToken(text.data(), text.size(), pos, raw);
    if (t.kind == vt::MarkupTokenKind::End) break;
    if (!out.empty()) out += ' ';
    switch (t.kind) {
      case vt::MarkupTokenKind::Text: out += "T:" + text.substr(t.pos, t.len); break;
      case vt::MarkupTokenKind::Space: out += "S"; break;
      case vt::MarkupTokenKind::LineFeed: out += "L"; break;
      case vt::MarkupTokenKind::Escape: out += "E:" + text.substr(t.argPos, 1); break;
      case vt::MarkupTokenKind::Open: out += std::string("O:") + t.letter + ":" + text.substr(t.argPos, t.argLen); break;
      case vt::MarkupTokenKind::Close: out += std::string("C:") + t.letter; break;
      default: break;
    }
    EXPECT_GT(t.len, 0u);
    pos += t.len;
  }
  return out;
}

struct TokenCase {
  const char* text;
  const char* tokens;
};

const TokenCase kCases[] = {
    {"<f 4>连接</f>", "O:f:4 T:连接 C:f"},
    {"{c #FFFFFF}版本{/c}", "O:c:#FFFFFF T:版本 C:c"},
    {"<c  #FF0000>x}", "O:c:#FF0000 T:x}"},     // leading blanks of the argument skipped
    {"<f 4}a{/f>", "O:f:4 T:a C:f"},             // either bracket closes either
    {"请点击<开始测试>进行", "T:请点击 T:<开始测试>进行"},  // not a tag: printed
    {"<b><u><i>", "O:b: O:u: O:i:"},
    {"<n>a<p 5>", "O:n: T:a O:p:5"},
    {"<{>x<}>{<}{>}", "E:{ T:x E:} E:< E:>"},
    {"a b", "T:a b"},                            // a blank inside a run stays in it
    {" a", "S T:a"},                             // a leading blank is its own run
    {"a\nb", "T:a L T:b"},
    {"<ab>", "T:<ab>"},                          // two letters: text
    {"<B>", "T:<B>"},                            // capitals are no tag letters
    {"<b", "T:<b"},                              // never closed
    {"</b", "T:</b"},
    {"</x>", "C:x"},
    {"<", "T:<"},
    {"{", "T:{"},
    {"<>", "T:<>"},
    {"a<i img 3 1>b", "T:a O:i:img 3 1 T:b"},
};

TEST(MarkupTokens, Table) {
  for (const TokenCase& c : kCases) EXPECT_EQ(Tokens(c.text), c.tokens) << c.text;
}

TEST(MarkupTokens, RawSectionsEndOnlyAtTheirMarker) {
  EXPECT_EQ(Tokens("<b>x</b></r>y", true), "T:<b>x</b> C:r T:y");
  EXPECT_EQ(Tokens("a{/r}", true), "T:a C:r");
  EXPECT_EQ(Tokens("a\nb", true), "T:a L T:b");
}

// GBK trail bytes may be '{', '}', '<'-free ASCII punctuation: a bracket that
// is the second byte of a character starts and ends nothing.
TEST(MarkupTokens, TrailBytesAreNoBrackets) {
  std::string lead = "\x81{";   // a double-byte character whose trail byte is '{'
  std::string closeTrail = "\x81}";
  EXPECT_EQ(Tokens("a" + lead + "b"), "T:a" + lead + "b");
  // A tag argument ends at a real bracket, not at a trail byte.
  std::string tag = "<a x" + closeTrail + "y>t</a>";
  EXPECT_EQ(Tokens(tag), "O:a:x" + closeTrail + "y T:t C:a");
  // A lead byte at the very end does not make the reader step past the text.
  std::string cut = "ab\x81";
  EXPECT_EQ(Tokens(cut), "T:" + cut);
}

TEST(MarkupTokens, NothingPastTheEnd) {
  EXPECT_EQ(vt::ReadMarkupToken("abc", 3, 3, false).kind, vt::MarkupTokenKind::End);
  EXPECT_EQ(vt::ReadMarkupToken(nullptr, 0, 0, false).kind, vt::MarkupTokenKind::End);
  // The length bounds the scan even when the buffer goes on.
  vt::MarkupToken t = vt::ReadMarkupToken("<b>", 2, 0, false);
  EXPECT_EQ(t.kind, vt::MarkupTokenKind::Text);
  EXPECT_EQ(t.len, 2u);
}

}  // namespace
