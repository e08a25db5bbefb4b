// The visible children of a container as the layout arithmetic sees them
// (LayoutMath.h), asking each control for its desired size.
#pragma once

#include <vector>

#include "ui/controls/ControlUI.h"
#include "ui/layouts/LayoutMath.h"

class CLayoutFlow : public vt::ILayoutSizes {
 public:
  explicit CLayoutFlow(const std::vector<CControlUI*>& items);
  vt::SkinSize Desired(int index, vt::SkinSize available) override;

  std::vector<CControlUI*> controls;  // visible children, in order
  std::vector<vt::LayoutChild> children;
  std::vector<vt::SkinRect> rects;  // filled by the layout for non-floating children
};

inline vt::SkinRect ToSkinRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const vt::SkinRect& r) { return {r.left, r.top, r.right, r.bottom}; }
