// Image strings: a bare file name, or key='value' pairs ("file", "res",
// "restype", "dest", "source", "corner", "mask", "fade", "hole", "xtiled",
// "ytiled"), each pair followed by a blank or the end of the text.
#pragma once

#include <cstdint>

#include "ui/Core/SkinValues.h"
#include "base/UIString.h"

namespace vt {

struct ImageSpec {
  CUIString file;     // image name (archive entry or file)
  CUIString res;      // resource name
  CUIString restype;  // resource type: the image comes from the module's resources
  SkinRect dest;      // offsets from the control's top-left corner; used when destSet
  bool destSet = false;
  SkinRect source;  // part of the bitmap; all zero = the whole bitmap
  SkinRect corner;  // unscaled border widths for nine-part stretching
  uint32_t mask = 0;
  int fade = 255;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;

  bool HasName() const { return !file.IsEmpty() || !res.IsEmpty(); }
  // The name an image is cached and loaded under: file, else res.
  const char* Name() const { return file.IsEmpty() ? res.GetData() : file.GetData(); }
};

// Called for every image of a string that is followed by another one (a
// further "file", "res" or "restype" key); the last image stays in the record.
using ImageSink = void (*)(void* context, const ImageSpec& spec);

// Parses text over what the record already holds (a modifier string is
// parsed over the parsed image string this way). Stops silently at
// a malformed pair. Pairs with an empty value are ignored.
void ParseImageString(const char* text, ImageSpec& spec, ImageSink flush = nullptr, void* context = nullptr);

}  // namespace vt
