// The filled part of a progress bar and the modifier string that draws its
// fore image there: stretched into the filled part, or cropped to it (the
// same rectangle as destination and source, so the image keeps its scale).
#pragma once

#include "base/UIString.h"

namespace vt {

// (value - min) * length / (max - min) after max is raised to min + 1 when
// it is not above min, and value is clamped to [min, max].
int ProgressFilled(int min, int max, int value, int length);

// "dest='l,t,r,b'" (stretch) or "dest='l,t,r,b' source='l,t,r,b'" for a bar
// of width x height; horizontal bars fill from the left, vertical ones from
// the bottom.
CUIString ProgressForeModifier(int min, int max, int value, int width, int height, bool horizontal,
                               bool stretch);

}  // namespace vt
