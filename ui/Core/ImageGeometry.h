// Where the parts of an image string land: the destination inside a control,
// the source part of the bitmap, and the pieces of nine-part stretching.
#pragma once

#include "ui/Core/SkinValues.h"

namespace vt {

struct ImagePiece {
  SkinRect dst;
  SkinRect src;
  bool tileX = false;  // repeat the source along x instead of stretching
  bool tileY = false;
};

// The destination: the control rectangle, or dest offsets from its top-left
// corner with right and bottom clipped to the control.
SkinRect ImageDestination(const SkinRect& control, const SkinRect& dest, bool destSet);

// The source part clipped to a bitmap of width x height; all zero (or
// nothing left after clipping) means the whole bitmap.
SkinRect ImageSource(const SkinRect& source, int width, int height);

// Splits dst/src by corner widths into at most nine pieces: corners copied
// unscaled, edges stretched along their length, the centre stretched or
// tiled (skipped with hole). Without corners one stretched piece. Empty
// pieces are left out. Returns the number of pieces written to out.
int NinePieces(const SkinRect& dst, const SkinRect& src, const SkinRect& corner, bool hole, bool xtiled,
               bool ytiled, ImagePiece out[9]);

// The tiles of a tiled piece, in rows: each tile a destination and the part
// of the source it shows (tiles at the far edges are cut, not squeezed).
// Calls visit for at most maxTiles tiles; returns how many it visited.
using TileVisitor = void (*)(void* context, const SkinRect& dst, const SkinRect& src);
int ForEachTile(const ImagePiece& piece, int maxTiles, TileVisitor visit, void* context);

}  // namespace vt
