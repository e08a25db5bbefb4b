// Decoding skin images (PNG, JPEG, BMP, GIF, PSD … whatever stb_image knows)
// into 32-bit top-down BGRA with premultiplied alpha, the layout GDI's
// AlphaBlend wants. The only file that knows the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vt {

struct DecodedImage {
  int width = 0;
  int height = 0;
  bool hasAlpha = false;         // some pixel is not fully opaque, or was masked
  std::vector<uint32_t> pixels;  // width * height, rows top-down, 0xAARRGGBB premultiplied
};

struct DecodedAnimation {
  int width = 0;
  int height = 0;
  std::vector<DecodedImage> frames;
  std::vector<int> delaysMs;  // per frame: GIF delay (1/100 s) x 10
};

constexpr int kMaxImageSide = 8192;
constexpr size_t kMaxAnimationBytes = 64u * 1024 * 1024;  // all frames together

// mask: pixels whose premultiplied value equals it become 0 (0 = no mask).
bool DecodeImage(const void* bytes, size_t len, uint32_t mask, DecodedImage& out);
// All frames of a GIF with their delays. False for anything else.
bool DecodeGifAnimation(const void* bytes, size_t len, DecodedAnimation& out);
// Premultiplies one 8-bit RGBA pixel into AARRGGBB (opaque pixels copied).
uint32_t PremultiplyRgba(const unsigned char rgba[4]);

}  // namespace vt
