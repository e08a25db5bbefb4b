// stb_image lives here: its implementation is compiled in this file only.
#include "ui/Core/ImageDecode.h"

#include <climits>
#include <cstring>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_HDR
#define STBI_NO_LINEAR
#define STBI_MAX_DIMENSIONS 8192
#include "stb_image.h"
#pragma GCC diagnostic pop

namespace vt {

uint32_t PremultiplyRgba(const unsigned char p[4]) {
  unsigned a = p[3];
  unsigned r = p[0], g = p[1], b = p[2];
  if (a != 255) {
    r = r * a / 255;
    g = g * a / 255;
    b = b * a / 255;
  }
  return (a << 24) | (r << 16) | (g << 8) | b;
}

namespace {

void Convert(const unsigned char* rgba, int w, int h, uint32_t mask, DecodedImage& out) {
  out.width = w;
  out.height = h;
  out.hasAlpha = false;
  size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
  out.pixels.resize(n);
  for (size_t i = 0; i < n; ++i) {
    uint32_t px = PremultiplyRgba(rgba + 4 * i);
    if (mask != 0 && px == mask) {
      px = 0;
      out.hasAlpha = true;
    }
    if ((px >> 24) != 255) out.hasAlpha = true;
    out.pixels[i] = px;
  }
}

}  // namespace

bool DecodeImage(const void* bytes, size_t len, uint32_t mask, DecodedImage& out) {
  out = DecodedImage();
  if (!bytes || len == 0 || len > INT_MAX) return false;
  int w = 0, h = 0, comp = 0;
  unsigned char* rgba =
      stbi_load_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(len), &w, &h, &comp, 4);
  if (!rgba) return false;
  bool ok = w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide;
  if (ok) Convert(rgba, w, h, mask, out);
  stbi_image_free(rgba);
  return ok;
}

bool DecodeGifAnimation(const void* bytes, size_t len, DecodedAnimation& out) {
  out = DecodedAnimation();
  if (!bytes || len < 6 || len > INT_MAX || memcmp(bytes, "GIF", 3) != 0) return false;
  int* delays = nullptr;
  int w = 0, h = 0, frames = 0, comp = 0;
  stbi_uc* all = stbi_load_gif_from_memory(static_cast<const stbi_uc*>(bytes), static_cast<int>(len), &delays,
                                           &w, &h, &frames, &comp, 4);
  if (!all) return false;
  size_t frameBytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
  bool ok = w > 0 && h > 0 && frames > 0 && frameBytes * static_cast<size_t>(frames) <= kMaxAnimationBytes;
  if (ok) {
    out.width = w;
    out.height = h;
    out.frames.resize(static_cast<size_t>(frames));
    out.delaysMs.resize(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) {
      Convert(all + frameBytes * static_cast<size_t>(i), w, h, 0, out.frames[i]);
      // stb reports GIF delays already in milliseconds (1/100 s x 10).
      out.delaysMs[i] = delays ? delays[i] : 0;
    }
  }
  stbi_image_free(all);
  if (delays) STBI_FREE(delays);
  return ok;
}

}  // namespace vt
