// Images: loading (resources, skin archive or skin path, plain path) into
// premultiplied DIB sections, drawing image strings, GIF frames.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/Core/ImageDecode.h"
#include "ui/Core/ImageGeometry.h"
#include "ui/Core/Render.h"
#include "ui/Core/SkinFiles.h"
#include "ui/Core/SkinXml.h"
#include "ui/Core/UIManager.h"

namespace {

constexpr size_t kMaxImageFile = 16u * 1024 * 1024;
constexpr int kMaxTiles = 4096;  // per piece; a 1-pixel tile over a window stays bounded

bool ReadResource(const char* name, const char* type, std::vector<char>& out) {
  HINSTANCE instance = CUIManager::GetInstance();
  // Numeric names ("102") name resources by id.
  char* end = nullptr;
  unsigned long id = strtoul(name, &end, 10);
  LPCSTR resName = (end && *end == '\0' && id > 0 && id < 0x10000) ? MAKEINTRESOURCEA(id) : name;
  HRSRC res = FindResourceA(instance, resName, type);
  if (!res) return false;
  HGLOBAL global = LoadResource(instance, res);
  DWORD size = SizeofResource(instance, res);
  const void* bytes = global ? LockResource(global) : nullptr;
  if (!bytes || size == 0 || size > kMaxImageFile) return false;
  out.assign(static_cast<const char*>(bytes), static_cast<const char*>(bytes) + size);
  return true;
}

RECT ToRect(const vt::SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }
vt::SkinRect ToSkin(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

struct BlitContext {
  HDC dc;
  HDC mem;
  bool alpha;
  BYTE fade;
  RECT bounds;  // the part of the destination that may change
};

void BlitTile(void* context, const vt::SkinRect& d, const vt::SkinRect& s) {
  BlitContext* c = static_cast<BlitContext*>(context);
  RECT dst = ToRect(d), meet;
  if (!IntersectRect(&meet, &dst, &c->bounds)) return;
  if (c->alpha) {
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, c->fade, AC_SRC_ALPHA};
    AlphaBlend(c->dc, d.left, d.top, d.Width(), d.Height(), c->mem, s.left, s.top, s.Width(), s.Height(), bf);
  } else if (d.Width() == s.Width() && d.Height() == s.Height()) {
    BitBlt(c->dc, d.left, d.top, d.Width(), d.Height(), c->mem, s.left, s.top, SRCCOPY);
  } else {
    StretchBlt(c->dc, d.left, d.top, d.Width(), d.Height(), c->mem, s.left, s.top, s.Width(), s.Height(),
               SRCCOPY);
  }
}

struct FlushContext {
  HDC dc;
  CUIManager* manager;
  RECT item;
  RECT paint;
};

// inPixels: a modifier whose dest and source a control computed in the
// window's present pixels; they are taken as they are, not scaled.
bool DrawParsed(HDC dc, CUIManager* manager, const RECT& item, const RECT& paint, const vt::ImageSpec& spec,
                const vt::ImageSpec* inPixels = nullptr) {
  if (!spec.HasName()) return false;
  const ImageInfo* image = nullptr;
  ImageInfo* owned = nullptr;
  if (manager) {
    image = manager->GetImageEx(spec.Name(), spec.restype.IsEmpty() ? nullptr : spec.restype.GetData(),
                                spec.mask);
  } else {
    owned = CRenderEngine::LoadSkinImage(
        spec.Name(), spec.restype.IsEmpty() ? nullptr : spec.restype.GetData(), spec.mask);
    image = owned;
  }
  if (!image) return false;
  if (manager && !manager->GetDpiScale().IsIdentity()) {
    // Image strings are 96-DPI pixels, and the manager's bitmaps are at the
    // window's scale: dest, source and corners all scale alike.
    const vt::DpiScale& scale = manager->GetDpiScale();
    vt::ImageSpec scaled = spec;
    scaled.dest = scale.Scale(spec.dest);
    scaled.source = scale.Scale(spec.source);
    scaled.corner = scale.Scale(spec.corner);
    if (inPixels && inPixels->destSet) scaled.dest = inPixels->dest;
    if (inPixels && !(inPixels->source == vt::SkinRect())) scaled.source = inPixels->source;
    CRenderEngine::DrawImage(dc, *image, item, paint, scaled);
    return true;
  }
  CRenderEngine::DrawImage(dc, *image, item, paint, spec);
  CRenderEngine::FreeImage(owned);
  return true;
}

}  // namespace

ImageInfo* CRenderEngine::ImageFromPixels(const uint32_t* pixels, int width, int height, bool hasAlpha) {
  if (width <= 0 || height <= 0) return nullptr;
  uint32_t* bits = nullptr;
  HBITMAP bmp = CreateDib(width, height, &bits);
  if (!bmp || !bits) {
    if (bmp) DeleteObject(bmp);
    return nullptr;
  }
  memcpy(bits, pixels, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  ImageInfo* info = new ImageInfo;
  info->bitmap = bmp;
  info->bits = bits;
  info->width = width;
  info->height = height;
  info->hasAlpha = hasAlpha;
  return info;
}

ImageInfo* CRenderEngine::LoadSkinImage(const char* name, const char* restype, uint32_t mask) {
  if (!name || !*name) return nullptr;
  std::vector<char> bytes;
  const char* error = nullptr;
  bool read = false;
  if (restype && *restype) {
    read = ReadResource(name, restype, bytes);
  } else {
    read = vt::ReadSkinFile(name, kMaxImageFile, bytes, &error) ||
           vt::ReadPlainFile(name, kMaxImageFile, bytes, &error);
  }
  if (!read) return nullptr;
  vt::DecodedImage decoded;
  if (!vt::DecodeImage(bytes.data(), bytes.size(), mask, decoded)) return nullptr;
  ImageInfo* info = ImageFromPixels(decoded.pixels.data(), decoded.width, decoded.height, decoded.hasAlpha);
  if (info) {
    info->restype = restype;
    info->mask = mask;
  }
  return info;
}

void CRenderEngine::FreeImage(ImageInfo* image) {
  if (!image) return;
  if (image->bitmap) DeleteObject(image->bitmap);
  delete image;
}

void CRenderEngine::DrawImage(HDC dc, const ImageInfo& image, const RECT& item, const RECT& paint,
                              const vt::ImageSpec& spec) {
  vt::SkinRect dest = vt::ImageDestination(ToSkin(item), spec.dest, spec.destSet);
  RECT destRect = ToRect(dest), bounds, itemPart;
  if (!IntersectRect(&itemPart, &destRect, &item) || !IntersectRect(&bounds, &itemPart, &paint)) return;
  vt::SkinRect source = vt::ImageSource(spec.source, image.width, image.height);
  vt::ImagePiece pieces[9];
  int n = vt::NinePieces(dest, source, spec.corner, spec.hole, spec.xtiled, spec.ytiled, pieces);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, image.bitmap);
  BlitContext c = {dc, mem, image.hasAlpha || spec.fade < 255, static_cast<BYTE>(spec.fade), bounds};
  int oldMode = SetStretchBltMode(dc, HALFTONE);
  POINT oldOrigin;
  SetBrushOrgEx(dc, 0, 0, &oldOrigin);
  for (int i = 0; i < n; ++i) vt::ForEachTile(pieces[i], kMaxTiles, BlitTile, &c);
  SetStretchBltMode(dc, oldMode);
  SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
  SelectObject(mem, old);
  DeleteDC(mem);
}

bool CRenderEngine::DrawImageSpec(HDC dc, CUIManager* manager, const RECT& item, const RECT& paint,
                                  const char* image, const char* modifier, bool modifierInPixels) {
  if (!image || !*image) return false;
  vt::ImageSpec spec;
  FlushContext flush = {dc, manager, item, paint};
  // Earlier images of a string that names several are drawn as they complete.
  vt::ParseImageString(
      image, spec,
      [](void* ctx, const vt::ImageSpec& s) {
        FlushContext* f = static_cast<FlushContext*>(ctx);
        DrawParsed(f->dc, f->manager, f->item, f->paint, s);
      },
      &flush);
  if (modifier && *modifier) vt::ParseImageString(modifier, spec);
  if (!modifierInPixels || !modifier) return DrawParsed(dc, manager, item, paint, spec);
  vt::ImageSpec pixels;
  vt::ParseImageString(modifier, pixels);
  return DrawParsed(dc, manager, item, paint, spec, &pixels);
}

// ---- GIF frames ----

CGifHandler::~CGifHandler() {
  for (int i = 0; i < count_; ++i) CRenderEngine::FreeImage(frames_[i]);
  delete[] frames_;
  delete[] delays_;
}

bool CGifHandler::Load(const void* bytes, size_t len) {
  vt::DecodedAnimation anim;
  if (!vt::DecodeGifAnimation(bytes, len, anim)) return false;
  int n = static_cast<int>(anim.frames.size());
  frames_ = new ImageInfo*[n]();
  delays_ = new int[n]();
  for (int i = 0; i < n; ++i) {
    const vt::DecodedImage& f = anim.frames[i];
    frames_[i] = CRenderEngine::ImageFromPixels(f.pixels.data(), f.width, f.height, f.hasAlpha);
    if (!frames_[i]) {
      count_ = i;
      return i > 0;
    }
    delays_[i] = anim.delaysMs[i];
    count_ = i + 1;
  }
  return count_ > 0;
}

const ImageInfo* CGifHandler::Frame(int index) const {
  return index >= 0 && index < count_ ? frames_[index] : nullptr;
}

int CGifHandler::DelayMs(int index) const { return index >= 0 && index < count_ ? delays_[index] : 0; }
