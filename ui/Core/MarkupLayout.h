// The layout engine of inline text markup (DrawMarkupText). It walks the
// text line by line, measuring through IMarkupFonts and, when drawing,
// handing positioned text runs and image frames to an IMarkupCanvas; the
// GDI side only measures and draws (MarkupText_win.cpp).
//
// Constraints:
//  a) no Windows header: the style bits have the values of the Win32
//     DT_ flags so a control's style passes through unchanged;
//  b) the text is in the system code page and is cut only at whole
//     characters; nothing is read outside [text, text + len);
//  c) font, colour and paragraph stacks have a fixed depth; pushes beyond
//     it are counted and popped again, so tags stay balanced;
//  d) each line consumes at least one byte or ends the text, so every input
//     terminates; numbers in tags are clamped to +-kMarkupMaxNumber;
//  e) every line is walked twice when drawing: once to find its height and
//     link rectangles, once to draw with that height.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/Core/SkinValues.h"

namespace vt {

enum : unsigned {
  kMarkupCenter = 0x0001,       // DT_CENTER
  kMarkupRight = 0x0002,        // DT_RIGHT
  kMarkupVCenter = 0x0004,      // DT_VCENTER
  kMarkupBottom = 0x0008,       // DT_BOTTOM
  kMarkupWordBreak = 0x0010,    // DT_WORDBREAK
  kMarkupSingleLine = 0x0020,   // DT_SINGLELINE
  kMarkupCalcRect = 0x0400,     // DT_CALCRECT
  kMarkupEndEllipsis = 0x8000,  // DT_END_ELLIPSIS
};

constexpr int kMarkupMaxNumber = 100000;
constexpr int kMarkupDefaultFont = -1;  // the manager's default font
constexpr int kMarkupNoFont = -2;       // a font that could not be made

struct MarkupFontMetrics {
  int height = 0;  // cell height
  int externalLeading = 0;
  int spaceOverhangC = 0;  // C width of the blank; its size is the italic overhang
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

// An inline image as a tag names it: the first word of the tag, or (spec
// true) the whole tag text as an image string with "file"/"res" keys.
struct MarkupImageRef {
  const char* text = nullptr;
  size_t len = 0;
  bool spec = false;
};

class IMarkupFonts {
 public:
  virtual int FontAt(int index) = 0;  // out of range: kMarkupDefaultFont
  // A font with exactly these properties, found or created; kMarkupNoFont
  // when it cannot be made.
  virtual int FindFont(const char* face, size_t faceLen, int size, bool bold, bool underline,
                       bool italic) = 0;
  // The font made bold / underlined / italic (flags added to its own).
  virtual int FontWithStyle(int font, bool bold, bool underline, bool italic) = 0;
  virtual MarkupFontMetrics Metrics(int font) = 0;
  virtual int TextWidth(int font, const char* text, size_t len) = 0;
  // False when the image cannot be loaded.
  virtual bool ImageSize(const MarkupImageRef& image, int& width, int& height) = 0;

 protected:
  ~IMarkupFonts() = default;
};

class IMarkupCanvas {
 public:
  // Text with its cell's top-left corner at (x, y); selected: an opaque
  // background in the selection colour.
  virtual void DrawRun(int font, uint32_t colour, bool selected, int x, int y, const char* text,
                       size_t len) = 0;
  // The frame [frameLeft, frameLeft + frameWidth) of the image, unscaled at (x, y).
  virtual void DrawImage(const MarkupImageRef& image, int x, int y, int frameLeft, int frameWidth,
                         int height) = 0;

 protected:
  ~IMarkupCanvas() = default;
};

struct MarkupLink {
  SkinRect rect;
  size_t targetPos = 0;  // the target is [targetPos, targetPos + targetLen) of the text
  size_t targetLen = 0;
};

struct MarkupRequest {
  const char* text = nullptr;
  size_t len = 0;
  SkinRect rect;
  uint32_t colour = 0;  // text colour when no colour tag is open
  uint32_t linkColour = 0xFF0000FF;
  uint32_t linkHoverColour = 0xFFD3215F;
  unsigned style = 0;
  MarkupLink* links = nullptr;  // may be null (capacity 0)
  int linkCapacity = 0;
  const char* hoverTarget = nullptr;  // the link under the mouse, if any
  size_t hoverLen = 0;
};

struct MarkupResult {
  SkinRect rect;  // measuring: left/top unchanged, right/bottom the extent
  int linkCount = 0;
};

// Lays the text out and, unless the style has kMarkupCalcRect, draws it on
// canvas (which may then not be null). An empty text or rectangle does
// nothing (measuring gives an empty extent).
MarkupResult LayoutMarkup(const MarkupRequest& request, IMarkupFonts& fonts, IMarkupCanvas* canvas);

}  // namespace vt
