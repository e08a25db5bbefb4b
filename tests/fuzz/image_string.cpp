// Fuzz target: image strings, then the geometry they feed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/Core/ImageGeometry.h"
#include "ui/Core/ImageString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  vt::ImageSpec spec;
  vt::ParseImageString(text.c_str(), spec, [](void*, const vt::ImageSpec&) {}, nullptr);
  vt::SkinRect control{10, 20, 310, 220};
  vt::SkinRect dst = vt::ImageDestination(control, spec.dest, spec.destSet);
  vt::SkinRect src = vt::ImageSource(spec.source, 64, 48);
  vt::ImagePiece pieces[9];
  int n = vt::NinePieces(dst, src, spec.corner, spec.hole, spec.xtiled, spec.ytiled, pieces);
  for (int i = 0; i < n; ++i) vt::ForEachTile(pieces[i], 4096, [](void*, const vt::SkinRect&, const vt::SkinRect&) {}, nullptr);
  return 0;
}
