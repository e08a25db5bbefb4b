#include "ui/Core/MarkupLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Fonts of a fixed pitch: an ASCII character is size/2 wide, a double-byte
// one size wide; the cell is size high. Index 0..6 are the main window's
// list; the default font (-1) is SimSun 12.
class FakeFonts : public vt::IMarkupFonts {
 public:
  struct Font {
    std::string face;
    int size;
    bool bold, underline, italic;
  };
  FakeFonts() {
    fonts_ = {{"SimSun", 12, 0, 0, 0}, {"宋体", 12, 0, 0, 0},  {"黑体", 32, 0, 0, 0}, {"SimSun", 14, 0, 0, 0},
              {"SimSun", 24, 0, 0, 0}, {"SimSun", 16, 0, 0, 0}, {"SimSun", 18, 0, 0, 0}};
  }
  const Font& Get(int id) const { return id >= 0 ? fonts_[static_cast<size_t>(id)] : default_; }
  int FontAt(int index) override { return index >= 0 && index < 7 ? index : vt::kMarkupDefaultFont; }
  int FindFont(const char* face, size_t faceLen, int size, bool b, bool u, bool i) override {
    std::string name(face, faceLen);
    if (name == "nosuchfont") return vt::kMarkupNoFont;
    return Find({name, size, b, u, i});
  }
  int FontWithStyle(int font, bool b, bool u, bool i) override {
    Font f = Get(font);
    return Find({f.face, f.size, f.bold || b, f.underline || u, f.italic || i});
  }
  vt::MarkupFontMetrics Metrics(int font) override {
    const Font& f = Get(font);
    vt::MarkupFontMetrics m;
    m.height = f.size;
    m.bold = f.bold;
    m.underline = f.underline;
    m.italic = f.italic;
    m.spaceOverhangC = f.italic ? -4 : 0;  // as GDI reports an overhang
    return m;
  }
  int TextWidth(int font, const char* text, size_t len) override {
    int size = Get(font).size, w = 0;
    for (size_t i = 0; i < len; ++i) {
      if (static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < len) {
        w += size;
        ++i;
      } else {
        w += size / 2;
      }
    }
    return w;
  }
  bool ImageSize(const vt::MarkupImageRef& image, int& w, int& h) override {
    std::string name(image.text, image.len);
    if (name == "icon" || name.find("file='icon'") != std::string::npos) {
      w = 20;
      h = 10;
      return true;
    }
    if (name == "tall") {
      w = 10;
      h = 30;
      return true;
    }
    return false;
  }

 private:
  int Find(const Font& f) {
    for (size_t i = 0; i < fonts_.size(); ++i) {
      const Font& o = fonts_[i];
      if (o.face == f.face && o.size == f.size && o.bold == f.bold && o.underline == f.underline &&
          o.italic == f.italic)
        return static_cast<int>(i);
    }
    fonts_.push_back(f);
    return static_cast<int>(fonts_.size() - 1);
  }
  Font default_{"SimSun", 12, false, false, false};
  std::vector<Font> fonts_;
};

struct Piece {
  std::string text;  // "[img name frameLeft+width]" for images
  int font, x, y;
  uint32_t colour;
  bool selected;
};

class Recorder : public vt::IMarkupCanvas {
 public:
  void DrawRun(int font, uint32_t colour, bool selected, int x, int y, const char* text, size_t len) override {
    pieces.push_back({std::string(text, len), font, x, y, colour, selected});
  }
  void DrawImage(const vt::MarkupImageRef& image, int x, int y, int frameLeft, int frameWidth, int) override {
    pieces.push_back({"[img " + std::string(image.text, image.len) + " " + std::to_string(frameLeft) + "+" +
                          std::to_string(frameWidth) + "]",
                      0, x, y, 0, false});
  }
  std::vector<Piece> pieces;
};

struct Drawn {
  FakeFonts fonts;
  Recorder canvas;
  vt::MarkupLink links[8];
  vt::MarkupResult result;
  // Text of each line (pieces grouped by y), lines separated by "/".
  std::string Lines() const {
    std::string out;
    int y = canvas.pieces.empty() ? 0 : canvas.pieces[0].y;
    for (const Piece& p : canvas.pieces) {
      if (p.y != y && p.text.rfind("[img", 0) != 0) {
        out += "/";
        y = p.y;
      }
      out += p.text;
    }
    return out;
  }
  std::string Joined() const {
    std::string out;
    for (const Piece& p : canvas.pieces) out += p.text;
    return out;
  }
  const Piece& Find(const std::string& text) const {
    for (const Piece& p : canvas.pieces)
      if (p.text == text) return p;
    static Piece none{"<none>", 0, -999, -999, 0, false};
    return none;
  }
};

constexpr unsigned kLabel = vt::kMarkupSingleLine;
constexpr unsigned kText = vt::kMarkupWordBreak;

std::unique_ptr<Drawn> Draw(const std::string& text, vt::SkinRect rc, unsigned style, int linkCapacity = 8,
                            const char* hover = nullptr) {
  auto d = std::make_unique<Drawn>();
  vt::MarkupRequest req;
  req.text = text.c_str();
  req.len = text.size();
  req.rect = rc;
  req.colour = 0x123456;
  req.style = style;
  req.links = d->links;
  req.linkCapacity = linkCapacity;
  req.hoverTarget = hover;
  req.hoverLen = hover ? strlen(hover) : 0;
  d->result = vt::LayoutMarkup(req, d->fonts, &d->canvas);
  return d;
}

const vt::SkinRect kWide{0, 0, 400, 100};

TEST(MarkupLayout, FontTagAndDefaultFont) {
  auto d = Draw("<f 4>连接至服务器.....</f>", kWide, kText);
  ASSERT_EQ(d->canvas.pieces.size(), 1u);
  EXPECT_EQ(d->canvas.pieces[0].font, 4);
  auto plain = Draw("连接至服务器.....", kWide, kText);
  EXPECT_EQ(plain->canvas.pieces[0].font, vt::kMarkupDefaultFont);
  // An index out of range is the default font.
  EXPECT_EQ(Draw("<f 99>a</f>", kWide, kText)->canvas.pieces[0].font, vt::kMarkupDefaultFont);
}

// Every opening f pushes one font (the default when its argument is empty,
// out of range or names no font that can be made), so its close gives back
// the enclosing font.
TEST(MarkupLayout, EveryFontTagPushesOneFont) {
  for (const char* inner : {"<f>", "<f 99>", "<f nosuchfont 9>", "{f}"}) {
    std::string text = std::string("<f 4>a") + inner + "b" + (inner[0] == '{' ? "{/f}" : "</f>") + "c</f>d";
    auto d = Draw(text.c_str(), kWide, kLabel);
    ASSERT_EQ(d->canvas.pieces.size(), 4u) << text;
    EXPECT_EQ(d->canvas.pieces[0].font, 4) << text;
    EXPECT_EQ(d->canvas.pieces[1].font, vt::kMarkupDefaultFont) << text;
    EXPECT_EQ(d->canvas.pieces[2].font, 4) << text;  // the enclosing font is back
    EXPECT_EQ(d->canvas.pieces[3].font, vt::kMarkupDefaultFont) << text;
  }
}

TEST(MarkupLayout, AngleBracketsThatAreNoTagsArePrinted) {
  auto d = Draw("<f 4>请点击<开始测试>进行带宽评估</f>", kWide, kText);
  EXPECT_EQ(d->Lines(), "请点击<开始测试>进行带宽评估");
  for (const Piece& p : d->canvas.pieces) EXPECT_EQ(p.font, 4);
}

TEST(MarkupLayout, BraceFormEqualsAngleForm) {
  auto braces = Draw("{c #FFFFFF}版本：2.21.2.0718{/c}", kWide, kLabel);
  auto angles = Draw("<c #FFFFFF>版本：2.21.2.0718</c>", kWide, kLabel);
  ASSERT_EQ(braces->canvas.pieces.size(), 1u);
  EXPECT_EQ(braces->canvas.pieces[0].colour, 0xFFFFFFu);
  EXPECT_EQ(braces->Lines(), angles->Lines());
  EXPECT_EQ(angles->canvas.pieces[0].colour, 0xFFFFFFu);
}

TEST(MarkupLayout, ColoursStackAndParse) {
  auto d = Draw("a<c #FF0000>b<c 00FF00>c</c>d</c>e<c>f</c><c #FF#3333CC>g</c>", kWide, kLabel);
  const uint32_t expected[] = {0x123456, 0xFF0000, 0x00FF00, 0xFF0000, 0x123456, 0, 0xFF};
  ASSERT_EQ(d->canvas.pieces.size(), 7u);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(d->canvas.pieces[i].colour, expected[i]) << i;
}

TEST(MarkupLayout, NestedBoldStaysBoldUntilTheOuterClose) {
  auto d = Draw("<b>a<b>b</b>c</b>d", kWide, kLabel);
  ASSERT_EQ(d->canvas.pieces.size(), 4u);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(d->fonts.Get(d->canvas.pieces[i].font).bold) << i;
  EXPECT_EQ(d->canvas.pieces[3].font, vt::kMarkupDefaultFont);
}

TEST(MarkupLayout, StyleTagsCombineAndUnknownTagsDoNothing) {
  auto d = Draw("<f 4><u><i>a</i></u></f><q>b</q><f nosuchfont 9>c</f>d", kWide, kLabel);
  ASSERT_EQ(d->canvas.pieces.size(), 4u);
  const FakeFonts::Font& f = d->fonts.Get(d->canvas.pieces[0].font);
  EXPECT_TRUE(f.underline && f.italic);
  EXPECT_EQ(f.size, 24);
  EXPECT_EQ(d->Joined(), "abcd");
  EXPECT_EQ(d->canvas.pieces[2].font, vt::kMarkupDefaultFont);  // a font that cannot be made is the default
  EXPECT_EQ(d->canvas.pieces[3].font, vt::kMarkupDefaultFont);
}

TEST(MarkupLayout, FontByFaceSizeAndWords) {
  auto d = Draw("<f 黑体 20 Bold Italic>x</f>", kWide, kLabel);
  const FakeFonts::Font& f = d->fonts.Get(d->canvas.pieces[0].font);
  EXPECT_EQ(f.face, "黑体");
  EXPECT_EQ(f.size, 20);
  EXPECT_TRUE(f.bold && f.italic && !f.underline);
  auto arial = Draw("<f Arial>x</f>", kWide, kLabel);
  EXPECT_EQ(arial->fonts.Get(arial->canvas.pieces[0].font).size, 10);  // size defaults to 10
}

TEST(MarkupLayout, NewLineTagIgnoredOnOneLineOnly) {
  auto label = Draw("ab<n>cd", kWide, kLabel);
  EXPECT_EQ(label->Lines(), "abcd");
  EXPECT_EQ(label->Find("cd").x, 12);
  auto text = Draw("ab<n>cd\nef", kWide, kText);
  EXPECT_EQ(text->Lines(), "ab/cd/ef");
  EXPECT_EQ(text->Find("cd").x, 0);
  EXPECT_EQ(text->Find("cd").y, 12);
  EXPECT_EQ(text->Find("ef").y, 24);
}

struct WrapCase {
  const char* name;
  const char* text;
  int width;
  unsigned style;
  const char* lines;
};

// Default font: ASCII 6 px, Chinese 12 px.
const WrapCase kWraps[] = {
    {"chinese wraps between any two characters", "测试测试测试", 40, kText, "测试测/试测试"},
    {"letters wrap after a blank", "hello world", 40, kText, "hello /world"},
    {"letters wrap after a digit or punctuation", "abc1defg,hij", 40, kText, "abc1/defg,/hij"},
    {"a word without breaks is cut where the width ends", "abcdefghij", 40, kText, "abcdef/ghij"},
    {"without word breaking the width decides", "hello world", 40, 0, "hello /world"},
    {"not at the left edge one more character goes", "ab<c #1>cdefgh", 40, 0, "abcde/fgh"},
    {"one line keeps the first line only", "abcdefghij", 40, kLabel, "abcdef"},
    {"end ellipsis drops two more", "abcdefghij", 40, kLabel | vt::kMarkupEndEllipsis, "abcd..."},
    {"a character wider than the line still advances", "测测", 8, kText, "测/测"},
    {"mixed text breaks after a chinese character", "ab测cdefghij", 40, kText, "ab测/cdefgh/ij"},
};

TEST(MarkupLayout, LineBreakingTable) {
  for (const WrapCase& c : kWraps) {
    auto d = Draw(c.text, {0, 0, c.width, 200}, c.style);
    EXPECT_EQ(d->Lines(), c.lines) << c.name;
  }
}

TEST(MarkupLayout, EllipsisIsWrittenAfterTheCutRun) {
  auto d = Draw("abcdefghij", {0, 0, 40, 20}, kLabel | vt::kMarkupEndEllipsis);
  EXPECT_EQ(d->Find("...").x, 24);
  EXPECT_EQ(d->Find("abcd").x, 0);
}

TEST(MarkupLayout, RunsAreBottomAlignedOnTheLine) {
  auto d = Draw("a<f 4>b</f>c", kWide, kLabel);
  EXPECT_EQ(d->Find("a").y, 12);  // line 24 high: 24 - 12
  EXPECT_EQ(d->Find("b").y, 0);
  EXPECT_EQ(d->Find("b").x, 6);
  EXPECT_EQ(d->Find("c").x, 18);
}

TEST(MarkupLayout, InlineImagesAndFrames) {
  auto d = Draw("a<i icon 2 1>b<i icon 0 5><i missing>c<i file='icon' dest='0,0,1,1'>", kWide, kLabel);
  ASSERT_EQ(d->canvas.pieces.size(), 6u);
  EXPECT_EQ(d->canvas.pieces[1].text, "[img icon 10+10]");  // frame 1 of 2
  EXPECT_EQ(d->canvas.pieces[1].x, 6);
  EXPECT_EQ(d->canvas.pieces[1].y, 1);  // centred in a line of 12
  EXPECT_EQ(d->canvas.pieces[2].x, 16);
  EXPECT_EQ(d->canvas.pieces[3].text, "[img icon 0+20]");  // count below 1 is 1, index out of range is 0
  EXPECT_EQ(d->canvas.pieces[4].x, 42);                     // the missing image is skipped
  EXPECT_EQ(d->canvas.pieces[5].text, "[img file='icon' dest='0,0,1,1' 0+20]");
}

TEST(MarkupLayout, TallImageRaisesTheLineAndMovesToTheNextLine) {
  auto d = Draw("a<i tall>b", kWide, kText);
  EXPECT_EQ(d->Find("a").y, 18);  // line 30 high
  EXPECT_EQ(d->Find("[img tall 0+10]").y, 0);
  auto wrapped = Draw("abcdef<i icon>g", {0, 0, 40, 100}, kText);
  EXPECT_EQ(wrapped->Find("[img icon 0+20]").x, 0);
  EXPECT_EQ(wrapped->Find("[img icon 0+20]").y, 13);  // second line starts at 12, centred
}

TEST(MarkupLayout, LinksRecordRectanglesAndTargets) {
  std::string text = "<a one>ab</a> <a two>cd</a>";
  auto d = Draw(text, kWide, kText);
  ASSERT_EQ(d->result.linkCount, 2);
  EXPECT_EQ(d->links[0].rect, (vt::SkinRect{0, 0, 12, 12}));
  EXPECT_EQ(text.substr(d->links[1].targetPos, d->links[1].targetLen), "two");
  EXPECT_EQ(d->links[1].rect, (vt::SkinRect{18, 0, 30, 12}));
  EXPECT_EQ(d->Find("ab").colour, 0xFF0000FFu);
  EXPECT_TRUE(d->fonts.Get(d->Find("ab").font).underline);
  EXPECT_EQ(d->Find(" ").colour, 0x123456u);
  // Capacity bounds what is recorded, not what is drawn.
  auto one = Draw(text, kWide, kText, 1);
  EXPECT_EQ(one->result.linkCount, 1);
  EXPECT_EQ(one->Find("cd").colour, 0xFF0000FFu);
  // The hovered target is drawn in the hover colour.
  auto hover = Draw(text, kWide, kText, 8, "two");
  EXPECT_EQ(hover->Find("cd").colour, 0xFFD3215Fu);
  EXPECT_EQ(hover->Find("ab").colour, 0xFF0000FFu);
}

TEST(MarkupLayout, LinkAcrossALineEndGetsOneRectanglePerLine) {
  std::string text = "x<a t>abcdefgh</a>";
  auto d = Draw(text, {0, 0, 40, 100}, kText);
  ASSERT_EQ(d->result.linkCount, 2);
  EXPECT_EQ(d->links[0].rect, (vt::SkinRect{6, 0, 30, 12}));  // "abcd" after the dropped character
  EXPECT_EQ(d->links[1].rect, (vt::SkinRect{0, 12, 24, 24}));
  EXPECT_EQ(d->links[1].targetPos, d->links[0].targetPos);
}

TEST(MarkupLayout, MeasuringGivesTheExtent) {
  vt::MarkupRequest req;
  std::string text = "ab<n>cdef<n><f 4>x</f>";
  req.text = text.c_str();
  req.len = text.size();
  req.rect = {10, 20, 400, 9999};
  req.style = kText | vt::kMarkupCalcRect;
  FakeFonts fonts;
  vt::MarkupResult r = vt::LayoutMarkup(req, fonts, nullptr);
  EXPECT_EQ(r.rect, (vt::SkinRect{10, 20, 34, 68}));  // widest line 24, lines 12 + 12 + 24
  text = "<x 50>a";
  req.text = text.c_str();
  req.len = text.size();
  req.rect = {10, 20, 30, 9999};
  EXPECT_EQ(vt::LayoutMarkup(req, fonts, nullptr).rect.right, 30);  // at most the right edge
  req.len = 0;
  EXPECT_EQ(vt::LayoutMarkup(req, fonts, nullptr).rect, (vt::SkinRect{10, 20, 10, 20}));
}

TEST(MarkupLayout, WholeTextAlignment) {
  vt::SkinRect rc{0, 0, 100, 30};
  EXPECT_EQ(Draw("ab", rc, kLabel | vt::kMarkupCenter)->Find("ab").x, 44);
  EXPECT_EQ(Draw("ab", rc, kLabel | vt::kMarkupRight)->Find("ab").x, 88);
  EXPECT_EQ(Draw("ab", rc, kLabel | vt::kMarkupVCenter)->Find("ab").y, 9);
  EXPECT_EQ(Draw("ab", rc, kLabel | vt::kMarkupBottom)->Find("ab").y, 18);
  // Multi-line: every run is shifted by itself.
  auto multi = Draw("ab<n>abcd", rc, kText | vt::kMarkupCenter);
  EXPECT_EQ(multi->Find("ab").x, 44);
  EXPECT_EQ(multi->Find("abcd").x, 38);
  // A text wider than the rectangle starts at its left edge and is cut.
  auto wide = Draw("abcdefghijklmnopqrstuvwxyz", {0, 0, 60, 20}, kLabel | vt::kMarkupCenter | vt::kMarkupEndEllipsis);
  EXPECT_EQ(wide->Lines(), "abcdefgh...");
  EXPECT_EQ(wide->canvas.pieces[0].x, 0);
}

TEST(MarkupLayout, SpacingTags) {
  auto d = Draw("<x 10>a<n><y 30>b<n>c", kWide, kText);
  EXPECT_EQ(d->Find("a").x, 10);
  EXPECT_EQ(d->Find("b").y, 12 + 30 - 12);
  EXPECT_EQ(d->Find("c").y, 42);
  auto p = Draw("a<p 5>b</p>c", kWide, kText);
  EXPECT_EQ(p->Lines(), "a/b/c");
  EXPECT_EQ(p->Find("b").y, 12 + 5);  // bottom-aligned in a line of 17
  EXPECT_EQ(p->Find("c").y, 12 + 17);
}

TEST(MarkupLayout, RawSelectionAndEscapes) {
  auto raw = Draw("<r><b>x</b>{/r}y", kWide, kLabel);
  EXPECT_EQ(raw->Lines(), "<b>x</b>y");
  EXPECT_EQ(raw->canvas.pieces[0].font, vt::kMarkupDefaultFont);
  auto sel = Draw("<s>ab</s>c", kWide, kLabel);
  EXPECT_TRUE(sel->Find("ab").selected);
  EXPECT_FALSE(sel->Find("c").selected);
  EXPECT_EQ(Draw("<{>a<}>{<}b{>}", kWide, kLabel)->Lines(), "{a}<b>");
}

TEST(MarkupLayout, ItalicOverhangMovesThePenOnClose) {
  auto d = Draw("<i>a</i>b", kWide, kLabel);
  EXPECT_EQ(d->Find("b").x, 6 + 2);  // half the italic C width of 4
}

TEST(MarkupLayout, DeepNestingStaysBalanced) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "<b><c #FF>";
  text += "x";
  for (int i = 0; i < 200; ++i) text += "</c></b>";
  text += "y";
  auto d = Draw(text, kWide, kLabel);
  EXPECT_EQ(d->Find("y").font, vt::kMarkupDefaultFont);
  EXPECT_EQ(d->Find("y").colour, 0x123456u);
}

TEST(MarkupLayout, DrawingStopsBelowTheBottom) {
  auto d = Draw("a<n>b<n>c<n>d", {0, 0, 100, 20}, kText);
  EXPECT_EQ(d->Lines(), "a/b");
  EXPECT_EQ(Draw("", kWide, kText)->canvas.pieces.size(), 0u);
  EXPECT_EQ(Draw("a", {0, 0, 0, 10}, kText)->canvas.pieces.size(), 0u);
}

}  // namespace
