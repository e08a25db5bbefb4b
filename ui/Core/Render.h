// Drawing primitives of the toolkit: images from image strings (nine-part,
// tiled, faded, masked), colours, gradients, lines, rectangles and text.
// Everything draws into a device context whose clip the caller has set.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/Core/ImageString.h"
#include "base/UIString.h"

class CUIManager;

// A decoded image as the manager caches it: a 32-bit top-down DIB section
// with premultiplied alpha.
struct ImageInfo {
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  int width = 0;
  int height = 0;
  bool hasAlpha = false;
  CUIString restype;
  uint32_t mask = 0;
};

class CRenderEngine {
 public:
  // A 32-bit top-down DIB section of w x h; bits receives its pixels.
  static HBITMAP CreateDib(int width, int height, uint32_t** bits);
  // Loads an image: from the module's resources when restype is given,
  // otherwise through the skin archive / skin path, then as a plain path.
  // Null when nothing decodes. Free with FreeImage.
  static ImageInfo* LoadSkinImage(const char* name, const char* restype, uint32_t mask);
  static ImageInfo* ImageFromPixels(const uint32_t* pixels, int width, int height, bool hasAlpha);
  static void FreeImage(ImageInfo* image);

  // Draws the image string (with the modifier string parsed on top) into
  // item, only where it meets paint. False when the (last) image has no name
  // or cannot be loaded.
  // The image string's dest, source and corners are 96-DPI pixels and scale
  // with the window; with modifierInPixels, the modifier's dest and source
  // are present pixels (computed from the control's rectangle) and do not.
  static bool DrawImageSpec(HDC dc, CUIManager* manager, const RECT& item, const RECT& paint,
                            const char* image, const char* modifier = nullptr, bool modifierInPixels = false);
  // Draws one parsed image whose bitmap is known.
  static void DrawImage(HDC dc, const ImageInfo& image, const RECT& item, const RECT& paint,
                        const vt::ImageSpec& spec);

  static void DrawColor(HDC dc, const RECT& rc, uint32_t argb);
  // Vertical (or horizontal) gradient; the opacity is the average alpha.
  static void DrawGradient(HDC dc, const RECT& rc, uint32_t first, uint32_t second, bool vertical);
  static void DrawLine(HDC dc, const RECT& rc, int size, uint32_t argb, int penStyle = PS_SOLID);
  static void DrawRect(HDC dc, const RECT& rc, int size, uint32_t argb);
  static void DrawRoundRect(HDC dc, const RECT& rc, int width, int height, int size, uint32_t argb);
  static void DrawPlainText(HDC dc, CUIManager* manager, RECT& rc, const char* text, uint32_t argb, int font,
                            UINT style);
};

// Clips a device context to clip (and, with a corner ellipse, to item with
// elliptic corners) for its lifetime, within the clip already in place.
class CRenderClip {
 public:
  CRenderClip(HDC dc, const RECT& clip, const RECT& item, int roundWidth = 0, int roundHeight = 0);
  ~CRenderClip();
  CRenderClip(const CRenderClip&) = delete;
  CRenderClip& operator=(const CRenderClip&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// Frames of an animated (GIF) background and their delays.
class CGifHandler {
 public:
  ~CGifHandler();
  bool Load(const void* bytes, size_t len);
  int FrameCount() const { return count_; }
  const ImageInfo* Frame(int index) const;
  int DelayMs(int index) const;

 private:
  ImageInfo** frames_ = nullptr;
  int* delays_ = nullptr;
  int count_ = 0;
};
