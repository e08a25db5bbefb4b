// CUIManager: fonts, images, default attribute lists and the window
// attributes of a layout's "Window" element.
#include <cstring>
#include <vector>

#include "ui/Core/DpiScale.h"
#include "ui/Core/ImageResample.h"
#include "ui/Core/SkinValues.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ControlUI.h"

namespace {

constexpr size_t kMaxFaceBytes = 32;

HFONT MakeFont(const char* face, int size, bool bold, bool underline, bool italic) {
  LOGFONTA lf = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  lf.lfCharSet = DEFAULT_CHARSET;
  // The face name is cut to its buffer at a character boundary.
  size_t n = face ? strnlen(face, kMaxFaceBytes) : 0;
  if (n >= LF_FACESIZE) n = LF_FACESIZE - 1;
  size_t keep = 0;
  while (keep < n) {
    size_t step = (IsDBCSLeadByte(static_cast<BYTE>(face[keep])) && keep + 1 < n) ? 2 : 1;
    if (IsDBCSLeadByte(static_cast<BYTE>(face[keep])) && keep + 1 >= n) break;
    keep += step;
  }
  memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
  if (keep) memcpy(lf.lfFaceName, face, keep);
  lf.lfHeight = -size;
  if (bold) lf.lfWeight += FW_BOLD;
  lf.lfUnderline = underline;
  lf.lfItalic = italic;
  return CreateFontIndirectA(&lf);
}

void Measure(HDC dc, FontInfo& info) {
  if (!dc || !info.font) return;
  HGDIOBJ old = SelectObject(dc, info.font);
  GetTextMetricsA(dc, &info.metrics);
  SelectObject(dc, old);
}

}  // namespace

int CUIManager::AddFont(const char* face, int size, bool bold, bool underline, bool italic) {
  FontInfo info;
  // Sizes are 96-DPI pixels; the handle is made for the window's DPI.
  info.font = MakeFont(face, dpi_.Scale(size), bold, underline, italic);
  if (!info.font) return -1;
  info.face = face;
  info.size = size;
  info.bold = bold;
  info.underline = underline;
  info.italic = italic;
  Measure(paintDc_, info);
  fonts_.push_back(info);
  return static_cast<int>(fonts_.size()) - 1;
}

void CUIManager::SetDefaultFont(const char* face, int size, bool bold, bool underline, bool italic) {
  HFONT font = MakeFont(face, dpi_.Scale(size), bold, underline, italic);
  if (!font) return;
  defaultFontIndex_ = -1;
  if (ownsDefaultFont_ && defaultFont_.font) DeleteObject(defaultFont_.font);
  defaultFont_ = FontInfo();
  defaultFont_.font = font;
  defaultFont_.face = face;
  defaultFont_.size = size;
  defaultFont_.bold = bold;
  defaultFont_.underline = underline;
  defaultFont_.italic = italic;
  Measure(paintDc_, defaultFont_);
  ownsDefaultFont_ = true;
}

void CUIManager::SetDefaultFontIndex(int index) {
  if (index < 0 || index >= GetFontCount()) return;
  if (ownsDefaultFont_ && defaultFont_.font) DeleteObject(defaultFont_.font);
  defaultFont_ = fonts_[static_cast<size_t>(index)];  // shares the handle; the list owns it
  ownsDefaultFont_ = false;
  defaultFontIndex_ = index;
}

HFONT CUIManager::GetFont(int index) const {
  if (index < 0 || index >= GetFontCount()) return defaultFont_.font;
  return fonts_[static_cast<size_t>(index)].font;
}

const FontInfo* CUIManager::GetFontInfo(int index) const {
  if (index < 0 || index >= GetFontCount()) return &defaultFont_;
  return &fonts_[static_cast<size_t>(index)];
}

const ImageInfo* CUIManager::GetImage(const char* name) const {
  if (!name) return nullptr;
  auto it = images_.find(name);
  return it == images_.end() ? nullptr : it->second;
}

const ImageInfo* CUIManager::GetImageEx(const char* name, const char* restype, uint32_t mask) {
  const ImageInfo* cached = GetImage(name);
  return cached ? cached : AddImage(name, restype, mask);
}

// At another scale than 100 % the image comes from the nearest rendering at
// or above the window's scale ("x@150.png"; the plain name is the 100 %
// one), brought to the exact size with the area-averaging resize. An image
// without such renderings (a test's, a resource's) is resized from 100 %.
const ImageInfo* CUIManager::AddImage(const char* name, const char* restype, uint32_t mask) {
  if (!name || !*name) return nullptr;
  const ImageInfo* cached = GetImage(name);
  if (cached) return cached;
  ImageInfo* image = nullptr;
  int percent = 100;
  if (!dpi_.IsIdentity() && !restype) {
    int want = vt::ArtworkPercent(dpi_);
    for (int p : vt::kArtworkPercents) {
      if (p < want || p == 100) continue;
      image = CRenderEngine::LoadSkinImage(vt::ArtworkName(name, p), nullptr, mask);
      if (image) {
        percent = p;
        break;
      }
    }
  }
  if (!image) image = CRenderEngine::LoadSkinImage(name, restype, mask);
  if (!image) return nullptr;
  // The size at the window's scale: the 100 % size times dpi / 96.
  int width = vt::MulDivRound(image->width, dpi_.Dpi() * 100, vt::kBaseDpi * percent);
  int height = vt::MulDivRound(image->height, dpi_.Dpi() * 100, vt::kBaseDpi * percent);
  if (width > 0 && height > 0 && (width != image->width || height != image->height)) {
    std::vector<uint32_t> pixels;
    if (vt::ResampleImage(image->bits, image->width, image->height, width, height, pixels)) {
      ImageInfo* resized = CRenderEngine::ImageFromPixels(pixels.data(), width, height, image->hasAlpha);
      if (resized) {
        resized->restype = image->restype;
        resized->mask = image->mask;
        CRenderEngine::FreeImage(image);
        image = resized;
      }
    }
  }
  images_[name] = image;
  return image;
}

void CUIManager::DropImages() {
  for (auto& it : images_) CRenderEngine::FreeImage(it.second);
  images_.clear();
}

void CUIManager::RecreateFonts() {
  for (FontInfo& f : fonts_) {
    HFONT font = MakeFont(f.face, dpi_.Scale(f.size), f.bold, f.underline, f.italic);
    if (!font) continue;  // out of GDI objects: keep the old size rather than none
    if (f.font) DeleteObject(f.font);
    f.font = font;
    Measure(paintDc_, f);
  }
  if (defaultFontIndex_ >= 0 && defaultFontIndex_ < GetFontCount()) {
    defaultFont_ = fonts_[static_cast<size_t>(defaultFontIndex_)];
  } else if (ownsDefaultFont_ && defaultFont_.font) {
    HFONT font = MakeFont(defaultFont_.face, dpi_.Scale(defaultFont_.size), defaultFont_.bold,
                          defaultFont_.underline, defaultFont_.italic);
    if (font) {
      DeleteObject(defaultFont_.font);
      defaultFont_.font = font;
      Measure(paintDc_, defaultFont_);
    }
  }
}

void CUIManager::SetDpi(int dpi) {
  vt::DpiScale scale(dpi);
  if (scale.Dpi() == dpi_.Dpi()) return;
  dpi_ = scale;
  RecreateFonts();
  DropImages();
  if (root_) {
    // Visits every control (the visitor never reports a find).
    root_->FindControl(
        [](CControlUI* c, void*) -> CControlUI* {
          c->ApplyDpi();
          return nullptr;
        },
        nullptr, kFindAll);
  }
  layoutNeeded_ = true;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void CUIManager::AddDefaultAttributeList(const char* tag, const char* list) {
  if (!tag || !list) return;
  defaultLists_.emplace(tag, CUIString(list));  // a second definition is ignored
}

const char* CUIManager::GetDefaultAttributeList(const char* tag) const {
  if (!tag) return nullptr;
  auto it = defaultLists_.find(tag);
  return it == defaultLists_.end() ? nullptr : it->second.GetData();
}

void CUIManager::SetInitSize(int cx, int cy) {
  initSize_ = {cx, cy};
  // Resized at once while the layout is still being read (no root yet).
  if (!root_ && hwnd_) {
    SetWindowPos(hwnd_, nullptr, 0, 0, dpi_.Scale(cx), dpi_.Scale(cy), SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

void CUIManager::SetTransparent(int alpha) {
  if (!hwnd_) return;
  LONG ex = GetWindowLongA(hwnd_, GWL_EXSTYLE);
  if (alpha < 0 || alpha > 255) {
    SetWindowLongA(hwnd_, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    return;
  }
  SetWindowLongA(hwnd_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd_, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void CUIManager::ApplyWindowAttribute(const char* name, const char* value) {
  if (!name || !value) return;
  auto rect = [&]() {
    vt::SkinRect r = vt::ParseRect(value);
    return RECT{r.left, r.top, r.right, r.bottom};
  };
  vt::SkinSize size = vt::ParseSize(value);
  if (strcmp(name, "size") == 0) SetInitSize(size.cx, size.cy);
  else if (strcmp(name, "sizebox") == 0) SetSizeBox(rect());
  else if (strcmp(name, "caption") == 0) SetCaptionRect(rect());
  else if (strcmp(name, "roundcorner") == 0) SetRoundCorner(size.cx, size.cy);
  else if (strcmp(name, "mininfo") == 0) SetMinInfo(size.cx, size.cy);
  else if (strcmp(name, "maxinfo") == 0) SetMaxInfo(size.cx, size.cy);
  else if (strcmp(name, "showdirty") == 0) SetShowUpdateRect(vt::ParseBool(value));
  else if (strcmp(name, "alpha") == 0) SetTransparent(vt::ParseInt(value));
  else if (strcmp(name, "bktrans") == 0) SetBackgroundTransparent(vt::ParseBool(value));
  else if (strcmp(name, "disabledfontcolor") == 0) disabledColor_ = vt::ParseColor(value);
  else if (strcmp(name, "defaultfontcolor") == 0) fontColor_ = vt::ParseColor(value);
  else if (strcmp(name, "linkfontcolor") == 0) linkColor_ = vt::ParseColor(value);
  else if (strcmp(name, "linkhoverfontcolor") == 0) linkHoverColor_ = vt::ParseColor(value);
  else if (strcmp(name, "selectedcolor") == 0) selectedColor_ = vt::ParseColor(value);
}

void CUIManager::SetHslAdjust(const vt::HslAdjust& adjust) {
  hsl_ = adjust;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}
