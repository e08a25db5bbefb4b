// The product's windows at the system DPI (tests/dpi/run runs this at 96,
// 120, 144 and 192 through one Wine prefix per DPI; the gui layer at 96):
// each opens at its layout size times dpi / 96, and a WM_DPICHANGED makes a
// window lay itself out again at the new scale, every named control where
// its 96-DPI place times the scale puts it. Screenshots go to
// build/win64/artefacts/dpi-<window>-<dpi>.bmp.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/dialogs/AppMessageBox_win.h"
#include "app/dialogs/UISetting_win.h"
#include "app/dialogs/UIUserInfo_win.h"
#include "app/mainframe/UIFrame_win.h"
#include "ui/Core/DpiAwareness.h"
#include "ui/Core/DpiScale.h"
#include "tests/support/SkinTestKit.h"
#include "ui/controls/ControlUI.h"

namespace {

using skintest::Pump;

int QuietBox(HWND, const char*, const char*, UINT) { return IDOK; }

void Shot(HWND hwnd, const std::string& name) {
  CreateDirectoryA(VT_ARTEFACT_DIR, nullptr);
  skintest::SaveWindowBitmap(hwnd, std::string(VT_ARTEFACT_DIR) + "/dpi-" + name + ".bmp");
}

struct Placed {
  std::string name;
  RECT rc;
};

std::vector<Placed> NamedControls(CUIManager& manager) {
  std::vector<Placed> out;
  if (!manager.GetRoot()) return out;
  manager.GetRoot()->FindControl(
      [](CControlUI* c, void* data) -> CControlUI* {
        if (!c->GetName().IsEmpty() && c->IsVisible()) {
          static_cast<std::vector<Placed>*>(data)->push_back({c->GetName().GetData(), c->GetPos()});
        }
        return nullptr;
      },
      &out, kFindAll);
  return out;
}

// The rows of a rectangle that hold a text's ink: pixels far from the
// rectangle's most common colour, its background. -1 when none.
struct InkRows {
  int top = -1, bottom = -1;
  int Height() const { return top < 0 ? 0 : bottom - top + 1; }
};

int ColourDistance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift < 24; shift += 8)
    d += abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
  return d;
}

InkRows InkOf(const skintest::Capture& c, RECT rc) {
  InkRows ink;
  std::map<uint32_t, int> counts;
  for (int y = std::max(0, static_cast<int>(rc.top)); y < std::min(c.height, static_cast<int>(rc.bottom)); ++y)
    for (int x = std::max(0, static_cast<int>(rc.left)); x < std::min(c.width, static_cast<int>(rc.right)); ++x)
      ++counts[c.At(x, y)];
  if (counts.empty()) return ink;
  uint32_t background = counts.begin()->first;
  for (const auto& [colour, n] : counts)
    if (n > counts[background]) background = colour;
  for (int y = std::max(0, static_cast<int>(rc.top)); y < std::min(c.height, static_cast<int>(rc.bottom)); ++y)
    for (int x = std::max(0, static_cast<int>(rc.left)); x < std::min(c.width, static_cast<int>(rc.right)); ++x)
      if (ColourDistance(c.At(x, y), background) > 200) {
        if (ink.top < 0) ink.top = y;
        ink.bottom = y;
        break;
      }
  return ink;
}

RECT ControlRect(CUIManager& manager, const char* name) {
  CControlUI* control = manager.FindControlByName(name);
  return control ? control->GetPos() : RECT{};
}

// Of the background image's sharp edges (opaque pixels whose right
// neighbour differs strongly) where the window shows the image itself,
// the share drawn exactly as the image holds them. The image drawn 1:1
// matches at nearly all; a 96-DPI rendering stretched to the window would
// smear every edge. Places under a control are left out (not under the
// containers that span much of the window: they draw no picture of their own
// over the background here).
double SharpEdgesAsRendered(const skintest::Capture& c, const ImageInfo& image, std::vector<Placed> controls) {
  std::erase_if(controls, [&c](const Placed& p) {
    return (p.rc.right - p.rc.left) * (p.rc.bottom - p.rc.top) * 4 > c.width * c.height;
  });
  int edges = 0, same = 0;
  for (int y = 0; y < std::min(c.height, image.height); ++y) {
    for (int x = 0; x + 1 < std::min(c.width, image.width); ++x) {
      uint32_t a = image.bits[static_cast<size_t>(y) * image.width + x];
      uint32_t b = image.bits[static_cast<size_t>(y) * image.width + x + 1];
      bool opaque = !image.hasAlpha || ((a >> 24) == 0xFF && (b >> 24) == 0xFF);
      if (!opaque || ColourDistance(a & 0xFFFFFF, b & 0xFFFFFF) < 150) continue;
      POINT at = {x, y};
      bool covered = false;
      for (const Placed& p : controls) covered = covered || PtInRect(&p.rc, at);
      if (covered) continue;
      ++edges;
      if (ColourDistance(c.At(x, y), a & 0xFFFFFF) <= 12) ++same;
    }
  }
  return edges ? static_cast<double>(same) / edges : 0.0;
}

SIZE ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// Moves the window to "a monitor" of the given DPI as Windows does it.
void ChangeDpi(HWND hwnd, int dpi, int layoutW, int layoutH) {
  RECT w;
  GetWindowRect(hwnd, &w);
  vt::DpiScale s(dpi);
  RECT suggested = {w.left, w.top, w.left + s.Scale(layoutW), w.top + s.Scale(layoutH)};
  SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  UpdateWindow(hwnd);
  Pump(150);
}

// Opens at layout size x scale, then re-lays itself from 96 to 120 DPI with
// every named control at its 96-DPI rectangle x 1.25 (within rounding of
// the flows: 3 px).
// The background is drawn from a bitmap made for this scale (a 96-DPI one
// stretched would be layout size, not layout size x scale), and the default
// font's cell is that of the scaled size.
// The pixels drawn: a named label's text is as tall as its 96-DPI ink
// times the scale (within the hinting of a size: 2 px), and, where the
// background is drawn whole (edgeProbe), its sharp edges are those of the
// rendering made for this scale. (The settings window squeezes its 670-px
// picture into 668 at every scale, and the main window's panels cover its
// background.)
void CheckWindow(WindowImplBase& window, CUIManager& manager, const char* label, int layoutW, int layoutH,
                 const char* background, int backgroundW, int backgroundH, const char* textLabel, bool edgeProbe) {
  HWND hwnd = window.GetHandle();
  ASSERT_TRUE(IsWindow(hwnd)) << label;
  int dpi = vt::WindowDpi(hwnd);
  vt::DpiScale scale(dpi);
  EXPECT_EQ(manager.GetDpiScale().Dpi(), scale.Dpi()) << label;
  SIZE size = ClientSize(hwnd);
  EXPECT_NEAR(size.cx, scale.Scale(layoutW), 1) << label << " at " << dpi;
  EXPECT_NEAR(size.cy, scale.Scale(layoutH), 1) << label << " at " << dpi;
  Shot(hwnd, std::string(label) + "-" + std::to_string(dpi));
  const ImageInfo* bk = manager.GetImage(background);
  ASSERT_NE(bk, nullptr) << label << ": " << background << " not loaded";
  EXPECT_NEAR(bk->width, scale.Scale(backgroundW), 1) << label;
  EXPECT_NEAR(bk->height, scale.Scale(backgroundH), 1) << label;
  const FontInfo* font = manager.GetFontInfo(-1);
  ASSERT_NE(font, nullptr);
  EXPECT_GE(font->metrics.tmHeight, scale.Scale(font->size)) << label;
  EXPECT_LE(font->metrics.tmHeight, scale.Scale(font->size) * 3 / 2 + 2) << label;
  skintest::Capture drawn = skintest::CaptureClient(hwnd);
  ASSERT_FALSE(drawn.pixels.empty()) << label;
  InkRows ink = InkOf(drawn, ControlRect(manager, textLabel));
  ASSERT_GT(ink.Height(), 0) << label << ": no text drawn in " << textLabel;
  printf("%s at %d: %s %d px tall\n", label, dpi, textLabel, ink.Height());
  if (edgeProbe) {
    double sharp = SharpEdgesAsRendered(drawn, *bk, NamedControls(manager));
    EXPECT_GE(sharp, 0.9) << label << " at " << dpi << ": the background's edges are not those of its rendering";
    printf("%s at %d: %.0f %% of the background's sharp edges as rendered\n", label, dpi, sharp * 100);
  }

  ChangeDpi(hwnd, 96, layoutW, layoutH);
  if (dpi != 96) {
    InkRows ink96 = InkOf(skintest::CaptureClient(hwnd), ControlRect(manager, textLabel));
    EXPECT_NEAR(ink.Height(), ink96.Height() * dpi / 96.0, 2.0)
        << label << ": " << textLabel << " is " << ink.Height() << " px tall at " << dpi << ", " << ink96.Height()
        << " px at 96";
  }
  EXPECT_EQ(ClientSize(hwnd).cx, layoutW) << label;
  std::vector<Placed> at96 = NamedControls(manager);
  ASSERT_FALSE(at96.empty()) << label;
  ChangeDpi(hwnd, 120, layoutW, layoutH);
  vt::DpiScale s120(120);
  SIZE moved = ClientSize(hwnd);
  EXPECT_NEAR(moved.cx, s120.Scale(layoutW), 1) << label;
  EXPECT_NEAR(moved.cy, s120.Scale(layoutH), 1) << label;
  std::vector<Placed> at120 = NamedControls(manager);
  int compared = 0;
  for (const Placed& a : at96) {
    for (const Placed& b : at120) {
      if (a.name != b.name) continue;
      ++compared;
      EXPECT_NEAR(b.rc.left, s120.Scale(static_cast<int>(a.rc.left)), 3) << label << " " << a.name;
      EXPECT_NEAR(b.rc.top, s120.Scale(static_cast<int>(a.rc.top)), 3) << label << " " << a.name;
      EXPECT_NEAR(b.rc.right, s120.Scale(static_cast<int>(a.rc.right)), 3) << label << " " << a.name;
      EXPECT_NEAR(b.rc.bottom, s120.Scale(static_cast<int>(a.rc.bottom)), 3) << label << " " << a.name;
      break;
    }
  }
  EXPECT_EQ(compared, static_cast<int>(at96.size())) << label << ": a control vanished at 120 DPI";
  Shot(hwnd, std::string(label) + "-moved-120");
  // And back: the same places as before.
  ChangeDpi(hwnd, 96, layoutW, layoutH);
  std::vector<Placed> again = NamedControls(manager);
  ASSERT_EQ(again.size(), at96.size()) << label;
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_TRUE(EqualRect(&again[i].rc, &at96[i].rc)) << label << " " << again[i].name;
  }
}

class DpiWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    vt::EnableDpiAwareness();
    CUIManager::SetInstance(GetModuleHandleA(nullptr));
    CUIManager::SetSkinPath(CUIManager::ModuleDirectory());
    vt::SetMessageBoxHook(QuietBox);
  }
};

TEST_F(DpiWindows, SettingsWindow) {
  UISetting w(nullptr);
  Pump(200);
  CheckWindow(w, w.GetManager(), "settings", 668, 276, "img/setting-mini.png", 670, 276, "LabelUI1", false);
  DestroyWindow(w.GetHandle());
  Pump(50);
}

TEST_F(DpiWindows, UserInfoWindow) {
  { UISetting first(nullptr);  // the archive comes with the first window, as in the product
    DestroyWindow(first.GetHandle()); }
  UIUserInfo w(nullptr);
  Pump(200);
  CheckWindow(w, w.GetManager(), "userinfo", 350, 200, "img/userinfo.png", 350, 200, "LabelUI1", true);
  DestroyWindow(w.GetHandle());
  Pump(50);
}

TEST_F(DpiWindows, MainWindow) {
  UIFrame* frame = new UIFrame;  // deletes itself when its window is destroyed
  ASSERT_NE(frame->CreateWnd(nullptr, "Veltrane", WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 900,
                             550),
            nullptr);
  HWND hwnd = frame->GetHandle();
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  Pump(300);
  CheckWindow(*frame, frame->GetManager(), "main", 900, 550, "img\\bg-main.png", 900, 550, "TextServer", false);
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  Pump(100);
}

}  // namespace
