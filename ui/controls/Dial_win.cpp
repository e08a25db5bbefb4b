#include <cstring>

#include "ui/controls/DialGeometry.h"
#include "ui/controls/DialUI.h"
#include "ui/Core/Render.h"

CDialUI::~CDialUI() = default;

const char* CDialUI::GetClass() const { return "DialUI"; }

void* CDialUI::GetInterface(const char* name) {
  if (name && strcmp(name, "Dial") == 0) return this;
  return CControlUI::GetInterface(name);
}

void CDialUI::ApplyAttribute(const char* name, const char* value) {
  if (name && value && strcmp(name, "foreimage") == 0) {
    SetForeImage(value);
    return;
  }
  CControlUI::ApplyAttribute(name, value);
}

void CDialUI::SetForeImage(const char* image) {
  foreImage_ = image;
  Invalidate();
}

void CDialUI::SetValue(int value) {
  angle_ = vt::DialAngle(value);
  Invalidate();
}

void CDialUI::PaintStatusImage(HDC dc) {
  if (!foreImage_.IsEmpty()) {
    vt::SkinRect item{rcItem_.left, rcItem_.top, rcItem_.right, rcItem_.bottom};
    vt::DialNeedle n = vt::DialNeedleGeometry(item, angle_);
    SetGraphicsMode(dc, GM_ADVANCED);
    XFORM xf = {n.transform.m11, n.transform.m12, n.transform.m21, n.transform.m22, n.transform.dx, n.transform.dy};
    SetWorldTransform(dc, &xf);
    RECT dest = {n.dest.left, n.dest.top, n.dest.right, n.dest.bottom};
    // The band is both item and paint rectangle: the whole needle is drawn
    // (the clip in place still bounds it). A needle that cannot be drawn is
    // cleared by DrawImageSpec's caller rule, so it is not tried again.
    if (!CRenderEngine::DrawImageSpec(dc, manager_, dest, dest, foreImage_)) foreImage_.Empty();
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SetGraphicsMode(dc, GM_COMPATIBLE);
  }
  CControlUI::PaintStatusImage(dc);
}
