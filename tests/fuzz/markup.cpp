// Fuzz target: inline text markup, tokenised and laid out in measuring and
// drawing mode over fixed-pitch fonts. The first two bytes pick the style
// and the box width; the rest is the text, in a buffer of exactly its size
// so any read past it is caught.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "ui/Core/MarkupLayout.h"
#include "ui/Core/MarkupTokens.h"

namespace {

class Fonts : public vt::IMarkupFonts {
 public:
  int FontAt(int index) override { return index >= 0 && index < 7 ? index : vt::kMarkupDefaultFont; }
  int FindFont(const char*, size_t faceLen, int size, bool, bool, bool) override {
    if (faceLen == 0 || size > 500) return vt::kMarkupNoFont;
    return 7 + size % 50;
  }
  int FontWithStyle(int font, bool, bool, bool italic) override { return italic ? 100 : font; }
  vt::MarkupFontMetrics Metrics(int font) override {
    vt::MarkupFontMetrics m;
    m.height = 8 + (font + 1) % 30;
    m.externalLeading = font % 3;
    m.italic = font == 100;
    m.spaceOverhangC = m.italic ? -3 : 0;
    return m;
  }
  int TextWidth(int font, const char* text, size_t len) override {
    int w = 0;
    for (size_t i = 0; i < len; ++i) w += 3 + (static_cast<unsigned char>(text[i]) + font) % 5;
    return w;
  }
  bool ImageSize(const vt::MarkupImageRef& image, int& w, int& h) override {
    if (image.len == 0) return false;
    w = static_cast<int>(image.len * 7 % 90);
    h = static_cast<int>(image.len * 3 % 40);
    return true;
  }
};

class Canvas : public vt::IMarkupCanvas {
 public:
  void DrawRun(int, uint32_t, bool, int, int, const char* text, size_t len) override {
    for (size_t i = 0; i < len; ++i) sum += static_cast<unsigned char>(text[i]);  // touches every byte
  }
  void DrawImage(const vt::MarkupImageRef& image, int, int, int, int, int) override { sum += image.len; }
  size_t sum = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  unsigned style = 0;
  const unsigned bits[] = {vt::kMarkupCenter,    vt::kMarkupRight,      vt::kMarkupVCenter, vt::kMarkupBottom,
                           vt::kMarkupWordBreak, vt::kMarkupSingleLine, vt::kMarkupCalcRect, vt::kMarkupEndEllipsis};
  for (int i = 0; i < 8; ++i)
    if (data[0] & (1u << i)) style |= bits[i];
  int width = 1 + data[1] * 2;
  size_t len = size - 2;
  std::unique_ptr<char[]> text(new char[len ? len : 1]);
  if (len) memcpy(text.get(), data + 2, len);

  for (size_t pos = 0; pos < len;) {
    vt::MarkupToken t = vt::ReadMarkupToken(text.get(), len, pos, false);
    if (t.kind == vt::MarkupTokenKind::End || t.len == 0) break;
    pos += t.len;
  }
  Fonts fonts;
  Canvas canvas;
  vt::MarkupLink links[8];
  vt::MarkupRequest req;
  req.text = text.get();
  req.len = len;
  req.rect = {5, 7, 5 + width, 7 + 300};
  req.style = style;
  req.links = links;
  req.linkCapacity = 8;
  req.hoverTarget = "x";
  req.hoverLen = 1;
  vt::MarkupResult r = vt::LayoutMarkup(req, fonts, &canvas);
  if (r.linkCount < 0 || r.linkCount > 8) __builtin_trap();
  for (int i = 0; i < r.linkCount; ++i)
    if (links[i].targetPos + links[i].targetLen > len) __builtin_trap();
  return 0;
}
