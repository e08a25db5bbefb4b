// Controls benchmark: one full paint of the gallery page (markup texts in
// several fonts, a list of 30 route rows with delay bars, the dial, buttons,
// options, edits, a combo; the product skin's artwork), and one repaint of
// the dial alone after a new value, as the needle timer does ten times a
// second during a bandwidth test. Prints median, minimum and maximum in
// milliseconds. Usage: ControlsBench_win [rounds]   (needs build/<preset>/skin.zip)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/gui/gallery/GalleryLayout.h"
#include "ui/Core/UIManager.h"
#include "ui/Core/WindowImplBase.h"
#include "ui/controls/DialUI.h"

namespace {

class GalleryWindow : public WindowImplBase {
 protected:
  const char* WindowClassName() const override { return "ControlsBenchWnd"; }
  const char* SkinFolder() const override { return ""; }
  const char* SkinFileName() const override { return kGalleryLayout; }
};

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  printf("%-34s median %.3f ms  min %.3f  max %.3f  (%zu rounds)\n", what, ms[ms.size() / 2], ms.front(), ms.back(),
         ms.size());
}

void Pump(int ms) {
  MSG msg;
  DWORD until = GetTickCount() + ms;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? atoi(argv[1]) : 41;
  if (rounds < 1) rounds = 1;
  CUIManager::SetInstance(GetModuleHandleA(nullptr));
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string skin = path;
  skin = skin.substr(0, skin.find_last_of("\\/"));
  skin = skin.substr(0, skin.find_last_of("\\/")) + "\\skin.zip";
  if (!CUIManager::SetSkinArchiveFile(skin.c_str())) {
    fprintf(stderr, "cannot open %s\n", skin.c_str());
    return 1;
  }
  GalleryWindow window;
  HWND hwnd = window.CreateWnd(nullptr, "ControlsBench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 900, 550);
  if (!hwnd) return 1;
  CUIManager& m = window.GetManager();
  auto* list = static_cast<CListUI*>(m.FindControlByName("list")->GetInterface("List"));
  auto* dial = static_cast<CDialUI*>(m.FindControlByName("dial")->GetInterface("Dial"));
  for (int hop = 1; hop <= 30; ++hop) list->Add(gallery::RouteRow(hop, (hop * 7) % 60));
  Pump(200);

  std::vector<double> full;
  for (int i = 0; i < rounds; ++i) {
    InvalidateRect(hwnd, nullptr, FALSE);
    double t0 = Now();
    UpdateWindow(hwnd);
    GdiFlush();
    full.push_back(Now() - t0);
  }
  std::vector<double> needle;
  for (int i = 0; i < rounds; ++i) {
    dial->SetValue((i * 37) % 1001);  // invalidates the dial only
    double t0 = Now();
    UpdateWindow(hwnd);
    GdiFlush();
    needle.push_back(Now() - t0);
  }
  printf("gallery page 900x550: 30 list rows, dial, markup texts\n");
  Report("full paint", full);
  Report("dial repaint after SetValue", needle);
  DestroyWindow(hwnd);
  return 0;
}
