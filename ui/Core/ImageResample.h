// Resizing decoded skin images (0xAARRGGBB, premultiplied) for windows shown
// at another scale than their artwork's rendering. Each output pixel is the
// area-weighted mean of the source pixels it covers ("pixel mixing"): a
// downscale keeps thin lines as lighter lines instead of dropping them, as
// GDI's StretchBlt would, and an upscale only blends at pixel borders.
// Averaging premultiplied values keeps transparent pixels from bleeding
// their colour into the edges.
#pragma once

#include <cstdint>
#include <vector>

namespace vt {

constexpr int kMaxResampleSide = 16384;

// Resizes src (srcW x srcH, rows top-down) to dstW x dstH into dst. False,
// with dst empty, for sizes outside 1..kMaxResampleSide or a src shorter
// than srcW x srcH.
bool ResampleImage(const uint32_t* src, int srcW, int srcH, int dstW, int dstH, std::vector<uint32_t>& dst);

}  // namespace vt
