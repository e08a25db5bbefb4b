// Rasterises the dial's needle: the source part of a premultiplied 32-bit
// image stretched into the needle band and turned about the pivot, into a
// pixel buffer covering the turned band's bounds. Done by hand because
// stretching blits under a rotating world transform are not drawn turned
// everywhere (Wine fills the turned band's bounding box).
#pragma once

#include <cstdint>

#include "ui/Core/SkinValues.h"
#include "ui/controls/DialGeometry.h"

namespace vt {

// The smallest pixel rectangle holding the band turned by the needle's
// transform.
SkinRect NeedleBounds(const DialNeedle& needle);

// out holds bounds.Width() x bounds.Height() pixels, top-down; each pixel
// whose centre falls inside the turned band takes the source pixel that
// stretching would put there (nearest), the others are 0 (transparent).
// Nothing is written when the source part or the bounds are empty.
void RasteriseNeedle(const uint32_t* pixels, int width, int height, const SkinRect& sourcePart,
                     const DialNeedle& needle, const SkinRect& bounds, uint32_t* out);

}  // namespace vt
