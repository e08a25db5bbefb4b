#include "ui/Core/MarkupText.h"

#include <cstring>
#include <vector>

#include "base/CodePage.h"
#include "ui/Core/ImageString.h"
#include "ui/Core/MarkupLayout.h"
#include "ui/Core/Render.h"
#include "ui/Core/UIManager.h"

static_assert(vt::kMarkupCenter == DT_CENTER && vt::kMarkupRight == DT_RIGHT &&
                  vt::kMarkupVCenter == DT_VCENTER && vt::kMarkupBottom == DT_BOTTOM &&
                  vt::kMarkupWordBreak == DT_WORDBREAK && vt::kMarkupSingleLine == DT_SINGLELINE &&
                  vt::kMarkupCalcRect == DT_CALCRECT && vt::kMarkupEndEllipsis == DT_END_ELLIPSIS,
              "markup style bits are the DT_ flags");

namespace {

COLORREF Rgb(uint32_t argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// Inline images: a first word names the image, an image string with "file"
// or "res" gives name, resource type and the other keys.
const ImageInfo* LoadInlineImage(CUIManager* manager, const vt::MarkupImageRef& ref, vt::ImageSpec& spec) {
  CUIString text(ref.text, ref.len);
  if (ref.spec) {
    vt::ParseImageString(text, spec);
    if (!spec.HasName()) return nullptr;
    return manager->GetImageEx(spec.Name(), spec.restype.IsEmpty() ? nullptr : spec.restype.GetData(),
                               spec.mask);
  }
  spec.file = text;
  return manager->GetImageEx(text);
}

class GdiMarkup : public vt::IMarkupFonts, public vt::IMarkupCanvas {
 public:
  GdiMarkup(HDC dc, CUIManager* manager, const RECT& clip) : dc_(dc), manager_(manager), clip_(clip) {}
  ~GdiMarkup() {
    if (oldFont_) SelectObject(dc_, oldFont_);
  }

  int FontAt(int index) override {
    return index >= 0 && index < manager_->GetFontCount() ? index : vt::kMarkupDefaultFont;
  }
  int FindFont(const char* face, size_t faceLen, int size, bool bold, bool underline, bool italic) override {
    // A face name has at most 31 bytes (LOGFONT's 32 with the zero), cut at a
    // character boundary.
    CUIString name(face, vt::CharBoundaryAtOrBelow(face, faceLen, faceLen < 32 ? faceLen : 31));
    for (int i = 0; i < manager_->GetFontCount(); ++i) {
      const FontInfo* f = manager_->GetFontInfo(i);
      if (f->face == name && f->size == size && f->bold == bold && f->underline == underline &&
          f->italic == italic)
        return i;
    }
    int added = manager_->AddFont(name, size, bold, underline, italic);
    return added < 0 ? vt::kMarkupNoFont : added;
  }
  int FontWithStyle(int font, bool bold, bool underline, bool italic) override {
    const FontInfo* f = manager_->GetFontInfo(font);
    if ((f->bold || !bold) && (f->underline || !underline) && (f->italic || !italic)) return font;
    return FindFont(f->face, f->face.GetLength(), f->size, f->bold || bold, f->underline || underline,
                    f->italic || italic);
  }
  vt::MarkupFontMetrics Metrics(int font) override {
    const FontInfo* f = manager_->GetFontInfo(font);
    vt::MarkupFontMetrics m;
    m.height = f->metrics.tmHeight;
    m.externalLeading = f->metrics.tmExternalLeading;
    m.bold = f->bold;
    m.underline = f->underline;
    m.italic = f->italic;
    if (f->italic) {
      Select(font);
      ABC abc = {};
      if (GetCharABCWidthsA(dc_, ' ', ' ', &abc)) m.spaceOverhangC = abc.abcC;
    }
    return m;
  }
  int TextWidth(int font, const char* text, size_t len) override {
    Select(font);
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(dc_, text, static_cast<int>(len), &sz);
    return sz.cx;
  }
  bool ImageSize(const vt::MarkupImageRef& ref, int& w, int& h) override {
    vt::ImageSpec spec;
    const ImageInfo* image = LoadInlineImage(manager_, ref, spec);
    if (!image) return false;
    w = image->width;
    h = image->height;
    return true;
  }

  void DrawRun(int font, uint32_t colour, bool selected, int x, int y, const char* text,
               size_t len) override {
    Select(font);
    SetTextColor(dc_, Rgb(colour));
    if (selected) {
      SetBkMode(dc_, OPAQUE);
      SetBkColor(dc_, Rgb(manager_->GetDefaultSelectedBkColor()));
    } else {
      SetBkMode(dc_, TRANSPARENT);
    }
    TextOutA(dc_, x, y, text, static_cast<int>(len));
  }
  void DrawImage(const vt::MarkupImageRef& ref, int x, int y, int frameLeft, int frameWidth,
                 int height) override {
    vt::ImageSpec spec;
    const ImageInfo* image = LoadInlineImage(manager_, ref, spec);
    if (!image) return;
    spec.destSet = false;
    spec.source = {frameLeft, 0, frameLeft + frameWidth, height};
    spec.corner = vt::SkinRect();
    RECT dest = {x, y, x + frameWidth, y + height};
    CRenderEngine::DrawImage(dc_, *image, dest, clip_, spec);
  }

 private:
  void Select(int font) {
    if (font == selected_ && oldFont_) return;
    HGDIOBJ old = SelectObject(dc_, manager_->GetFont(font));
    if (!oldFont_) oldFont_ = old;
    selected_ = font;
  }

  HDC dc_;
  CUIManager* manager_;
  RECT clip_;
  HGDIOBJ oldFont_ = nullptr;
  int selected_ = -100;
};

}  // namespace

void DrawMarkupText(HDC dc, CUIManager* manager, RECT& rc, const char* text, uint32_t colour, RECT* links,
                    CUIString* targets, int& linkCount, int linkCapacity, UINT style) {
  int previous = linkCount;
  linkCount = 0;
  if (!text || !*text || !manager || IsRectEmpty(&rc)) {
    if (style & DT_CALCRECT) {
      rc.right = rc.left;
      rc.bottom = rc.top;
    }
    return;
  }
  if (!links || !targets) linkCapacity = 0;
  if (linkCapacity < 0) linkCapacity = 0;

  // The link under the mouse, by the rectangles of the previous paint.
  CUIString hover;
  POINT mouse = manager->GetMousePos();
  for (int i = 0; i < previous && i < linkCapacity; ++i) {
    if (PtInRect(&links[i], mouse)) {
      hover = targets[i];
      break;
    }
  }

  std::vector<vt::MarkupLink> found(static_cast<size_t>(linkCapacity));
  vt::MarkupRequest req;
  req.text = text;
  req.len = strlen(text);
  req.rect = {rc.left, rc.top, rc.right, rc.bottom};
  req.colour = colour;
  req.linkColour = manager->GetDefaultLinkFontColor();
  req.linkHoverColour = manager->GetDefaultLinkHoverFontColor();
  req.style = style;
  req.links = found.data();
  req.linkCapacity = linkCapacity;
  if (!hover.IsEmpty()) {
    req.hoverTarget = hover;
    req.hoverLen = hover.GetLength();
  }

  vt::MarkupResult result;
  if (style & DT_CALCRECT) {
    GdiMarkup gdi(dc, manager, rc);
    result = vt::LayoutMarkup(req, gdi, nullptr);
    rc.right = result.rect.right;
    rc.bottom = result.rect.bottom;
  } else {
    // Drawing is clipped to the box, within the clip already in place.
    CRenderClip clip(dc, rc, rc);
    GdiMarkup gdi(dc, manager, rc);
    result = vt::LayoutMarkup(req, gdi, &gdi);
  }
  linkCount = result.linkCount;
  for (int i = 0; i < linkCount; ++i) {
    const vt::MarkupLink& l = found[static_cast<size_t>(i)];
    links[i] = {l.rect.left, l.rect.top, l.rect.right, l.rect.bottom};
    targets[i].Assign(text + l.targetPos, l.targetLen);
  }
}
