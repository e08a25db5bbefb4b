#include <cstring>

#include "ui/Core/ImageGeometry.h"
#include "ui/Core/ImageString.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/DialGeometry.h"
#include "ui/controls/NeedleRaster.h"
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

// The needle: the fore image stretched into its band and turned about the
// pivot, rasterised here and alpha-blended unturned, so the device context
// keeps its mode and transform.
bool CDialUI::PaintNeedle(HDC dc) {
  vt::ImageSpec spec;
  vt::ParseImageString(foreImage_, spec);
  if (!spec.HasName() || !manager_) return false;
  const ImageInfo* image =
      manager_->GetImageEx(spec.Name(), spec.restype.IsEmpty() ? nullptr : spec.restype.GetData(), spec.mask);
  if (!image || !image->bits) return false;
  vt::SkinRect item{rcItem_.left, rcItem_.top, rcItem_.right, rcItem_.bottom};
  const vt::DpiScale& scale = manager_->GetDpiScale();
  vt::DialNeedle n = vt::DialNeedleGeometry(item, angle_, scale.ScaleF(1.0f));
  vt::SkinRect bounds = vt::NeedleBounds(n);
  if (bounds.IsEmpty()) return true;
  uint32_t* bits = nullptr;
  HBITMAP bmp = CRenderEngine::CreateDib(bounds.Width(), bounds.Height(), &bits);
  if (!bmp) return true;  // out of resources: no needle this time, keep the image
  vt::SkinRect part = vt::ImageSource(scale.Scale(spec.source), image->width, image->height);
  vt::RasteriseNeedle(image->bits, image->width, image->height, part, n, bounds, bits);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bmp);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(spec.fade), AC_SRC_ALPHA};
  AlphaBlend(dc, bounds.left, bounds.top, bounds.Width(), bounds.Height(), mem, 0, 0, bounds.Width(),
             bounds.Height(), blend);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return true;
}

void CDialUI::PaintStatusImage(HDC dc) {
  if (!foreImage_.IsEmpty() && !PaintNeedle(dc)) foreImage_.Empty();  // not tried again
  CControlUI::PaintStatusImage(dc);
}
