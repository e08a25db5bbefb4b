// Toolkit benchmark: building a 200-control layout from the skin archive,
// and one full paint of a 900 x 550 window. Prints the median, minimum and
// maximum of each in milliseconds. Usage: UiBench_win [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include "stb_image_write.h"
#pragma GCC diagnostic pop

#include "tests/support/ZipWriter.h"
#include "ui/Core/SkinBuilder.h"
#include "ui/Core/WindowImplBase.h"
#include "ui/controls/ControlUI.h"

namespace {

std::string Png(int w, int h, uint32_t rgba, bool gradientAlpha) {
  std::vector<unsigned char> px(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &px[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<unsigned char>(rgba >> 24);
      p[1] = static_cast<unsigned char>((rgba >> 16) + x);
      p[2] = static_cast<unsigned char>((rgba >> 8) + y);
      p[3] = gradientAlpha ? static_cast<unsigned char>(64 + (x * 191) / (w > 1 ? w - 1 : 1)) : 255;
    }
  }
  std::string out;
  stbi_write_png_to_func(
      [](void* ctx, void* data, int size) { static_cast<std::string*>(ctx)->append(static_cast<char*>(data), size); },
      &out, w, h, 4, px.data(), w * 4);
  return out;
}

// 200 controls: a background, 6 alpha images, panels with borders and
// gradients, rows of small floating controls in nested containers.
std::string Layout() {
  std::string x = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"900,550\" caption=\"0,0,0,110\" "
                  "roundcorner=\"5,5\">\n<Font name=\"SimSun\" size=\"12\" default=\"true\"/>\n"
                  "<Container name=\"root\" bkimage=\"img\\bg.png\">\n";
  int count = 1;
  for (int i = 0; i < 6; ++i, ++count) {
    char buf[256];
    snprintf(buf, sizeof(buf),
             "<Control name=\"icon%d\" float=\"true\" pos=\"%d,20,%d,120\" bkimage=\"file='img\\alpha.png' "
             "corner='4,4,4,4'\"/>\n",
             i, 20 + i * 140, 140 + i * 140);
    x += buf;
  }
  for (int p = 0; count < 200; ++p) {
    char buf[512];
    int px = 20 + (p % 4) * 215, py = 140 + (p / 4) * 130;
    snprintf(buf, sizeof(buf),
             "<Container name=\"panel%d\" float=\"true\" pos=\"%d,%d,%d,%d\" bkcolor=\"#C0FFFFFF\" "
             "bkcolor2=\"#C0E0E0F0\" bordercolor=\"#FF8899AA\" bordersize=\"1\" borderround=\"6,6\">\n",
             p, px, py, px + 200, py + 120);
    x += buf;
    ++count;
    for (int r = 0; r < 15 && count < 200; ++r, ++count) {
      snprintf(buf, sizeof(buf),
               "  <Control name=\"c%d\" float=\"true\" pos=\"%d,%d,%d,%d\" bkcolor=\"#FF%02X%02X80\" "
               "bottombordersize=\"1\" bordercolor=\"#FFEEEEEE\"/>\n",
               count, 5 + (r % 3) * 64, 5 + (r / 3) * 22, 65 + (r % 3) * 64, 25 + (r / 3) * 22, r * 16, p * 20);
      x += buf;
    }
    x += "</Container>\n";
  }
  x += "</Container>\n</Window>\n";
  return x;
}

class BenchWindow : public WindowImplBase {
 protected:
  const char* WindowClassName() const override { return "UiBenchWnd"; }
  const char* SkinFolder() const override { return ""; }
  const char* SkinFileName() const override { return "bench.xml"; }
};

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

void Report(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  printf("%-28s median %.3f ms  min %.3f  max %.3f  (%zu rounds)\n", what, ms[ms.size() / 2], ms.front(), ms.back(),
         ms.size());
}

int CountControls(CControlUI* root) {
  int n = 0;
  root->FindControl([](CControlUI*, void* c) -> CControlUI* { ++*static_cast<int*>(c); return nullptr; }, &n,
                    kFindAll);
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? atoi(argv[1]) : 41;
  if (rounds < 1) rounds = 1;
  CUIManager::SetInstance(GetModuleHandleA(nullptr));
  static std::string archive = testzip::Build({{"bench.xml", Layout()},
                                               {"img/bg.png", Png(900, 550, 0x30507000, false), true},
                                               {"img/alpha.png", Png(120, 100, 0xC0404000, true), true}});
  CUIManager::SetSkinArchive(archive.data(), archive.size());

  // Build: read and inflate the entry, convert, parse, create 200 controls,
  // apply their attributes with a manager lent (fonts and defaults resolve).
  std::vector<double> build;
  int controls = 0;
  for (int i = 0; i < rounds; ++i) {
    CUIManager manager;
    CSkinBuilder builder;
    double t0 = Now();
    CControlUI* root = builder.Create("bench.xml", nullptr, nullptr, &manager);
    build.push_back(Now() - t0);
    if (!root) {
      fprintf(stderr, "build failed: %s\n", builder.GetLastErrorMessage());
      return 1;
    }
    controls = CountControls(root);
    delete root;
  }

  BenchWindow window;
  HWND hwnd = window.CreateWnd(nullptr, "UiBench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 900, 550);
  if (!hwnd) return 1;
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  // One full paint: invalidate the client area and let WM_PAINT run (tree
  // into the off-screen bitmap, then the copy to the window).
  std::vector<double> paint;
  for (int i = 0; i < rounds; ++i) {
    InvalidateRect(hwnd, nullptr, FALSE);
    double t0 = Now();
    UpdateWindow(hwnd);
    GdiFlush();
    paint.push_back(Now() - t0);
  }
  printf("layout: %d controls, window %dx%d\n", controls, 900, 550);
  Report("build 200-control layout", build);
  Report("full paint 900x550", paint);
  DestroyWindow(hwnd);
  return 0;
}
