// Every figure the bandwidth and application pages can show fits its box.
// For each box, every text it can hold is formatted by the pages' own
// formatters (speeds from 0 to the cap in steps of 0.01, delays, the
// dial's scale labels of every level, the grades and the time-out words)
// and measured in the box's font; the widest are drawn in the real main
// window and the box probed: no pixel the text changes may lie on the box's
// outermost rows or columns or outside it (a clipped glyph is cut at the
// edge, so it always leaves ink there). Pictures of the pages filled with
// the widest figures: build/win64/artefacts/figures-<page>.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/dialogs/AppMessageBox_win.h"
#include "app/mainframe/UIFrame_win.h"
#include "model/AppRating.h"
#include "model/BandwidthFigures.h"
#include "model/DialFigures.h"
#include "tests/support/SkinTestKit.h"
#include "ui/controls/LabelUI.h"

namespace {

int QuietBox(HWND, const char*, const char*, UINT) { return IDOK; }

struct FigureBox {
  const char* name;
  int page;  // tab of "switch"
  std::set<std::string> texts;
};

// Hundredths from 0 to the cap: every two-decimal figure up to 1000, and
// every one-decimal one above 100.
template <typename Format>
std::set<std::string> EverySpeed(double scale, Format format) {
  std::set<std::string> out;
  for (int i = 0; i <= 100000; ++i) out.insert(format(i / 100.0 * scale));
  return out;
}

std::vector<FigureBox> Boxes() {
  std::vector<FigureBox> boxes;
  // Bandwidth page. Download and upload: samples, needle steps and final
  // figures, all capped; the final upload's format follows the raw value.
  std::set<std::string> speeds = EverySpeed(1.0, [](double v) { return vt::SpeedText(v); });
  speeds.insert(vt::SpeedText(vt::CapSpeed(1234.5)));
  speeds.insert(vt::SpeedText(vt::CapSpeed(1234.5), 1234.5));
  boxes.push_back({"TextDownloadSpeed", 0, speeds});
  boxes.push_back({"TextMaxSpeed", 0, speeds});
  // Mean of "ping -n 8": a reply later than ping's 4 s wait does not count;
  // four digits leave room for any ping.
  std::set<std::string> delays;
  for (unsigned ms = 1; ms <= 9999; ++ms) delays.insert(std::to_string(ms) + "ms");
  boxes.push_back({"TextAvgDelay", 0, delays});
  // The scale labels of every level (the layout's own are level 8's).
  boxes.push_back({"K0", 0, {"0M"}});
  const char* const kScale[6] = {"K1", "K2", "K3", "K4", "K5", "K6"};
  for (int k = 0; k < 6; ++k) {
    std::set<std::string> labels;
    for (int level : {4, 8, 12, 16}) labels.insert(vt::DialScaleLabels(level)[k]);
    boxes.push_back({kScale[k], 0, labels});
  }

  // Application page. A site: up to the line's cap (a site's figure can
  // only pass it on a line faster than any the client certifies).
  std::set<std::string> sites = EverySpeed(1.0, [](double v) { return vt::AppSpeedText(v, "超时"); });
  for (const char* name :
       {"WebResult1", "WebResult2", "WebResult3", "SMTPResult4", "SMTPResult5", "SMTPResult6"})
    boxes.push_back({name, 2, sites});
  std::set<std::string> means = EverySpeed(1.0, [](double v) { return vt::AppSpeedText(v, "测试超时"); });
  boxes.push_back({"WebTestResult", 2, means});
  boxes.push_back({"SMTPTestResult", 2, means});
  // Multi-thread download: 95 % of the capped download figure.
  boxes.push_back(
      {"FTPTestResult", 2, EverySpeed(0.95, [](double v) { return vt::AppSpeedText(v, "测试超时"); })});
  std::set<std::string> grades = {vt::RateComment(0.5), vt::RateComment(4.0), vt::RateComment(20.0)};
  for (const char* name : {"WebTestComment", "SMTPTestComment", "FTPTestComment"})
    boxes.push_back({name, 2, grades});
  return boxes;
}

struct Ink {
  bool any = false;
  RECT rc = {0, 0, 0, 0};  // inclusive bounds of the pixels that changed
};

class FigureBoxes : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CUIManager::SetInstance(GetModuleHandleA(nullptr));
    CUIManager::SetSkinPath(CUIManager::ModuleDirectory());
    vt::SetMessageBoxHook(QuietBox);
  }
  void SetUp() override {
    frame_ = new UIFrame;  // deletes itself when its window is destroyed
    ASSERT_NE(frame_->CreateWnd(nullptr, "Veltrane", WS_POPUP | WS_VISIBLE, 0, 0, 900, 550), nullptr);
    ShowWindow(frame_->GetHandle(), SW_SHOW);
    UpdateWindow(frame_->GetHandle());
    skintest::Pump(300);
  }
  void TearDown() override {
    if (frame_ && IsWindow(frame_->GetHandle())) DestroyWindow(frame_->GetHandle());
    skintest::Pump(100);
  }

  CUIManager& Manager() { return frame_->GetManager(); }
  CLabelUI* Label(const char* name) {
    CControlUI* c = Manager().FindControlByName(name);
    return c ? static_cast<CLabelUI*>(c->GetInterface("Label")) : nullptr;
  }
  // The whole client area as the window paints it (WM_PRINTCLIENT into a
  // top-down 32-bit DIB, the same painting as WM_PAINT without the screen).
  void Snapshot() {
    skintest::Capture c = skintest::PrintClient(frame_->GetHandle());
    size_ = {c.width, c.height};
    pixels_ = std::move(c.pixels);
  }
  // The pixels of r (0 outside the window) from a fresh snapshot, row by row.
  std::vector<uint32_t> Capture(const RECT& r) {
    Snapshot();
    std::vector<uint32_t> out;
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x)
        out.push_back(x >= 0 && y >= 0 && x < size_.cx && y < size_.cy ? pixels_[y * size_.cx + x] & 0xFFFFFF
                                                                       : 0);
    return out;
  }
  // The last snapshot as a PNG for people.
  bool SavePng(const std::string& path) {
    std::vector<unsigned char> rgb;
    for (uint32_t v : pixels_) {
      rgb.push_back(static_cast<unsigned char>(v >> 16));
      rgb.push_back(static_cast<unsigned char>(v >> 8));
      rgb.push_back(static_cast<unsigned char>(v));
    }
    return !rgb.empty() && skintest::WritePng(path.c_str(), size_.cx, size_.cy, rgb);
  }
  // Where two captures of r differ by more than a trace of blending.
  static Ink Changed(const RECT& r, const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    Ink ink;
    LONG w = r.right - r.left;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      int d = 0;
      for (int shift : {0, 8, 16})
        d = std::max(
            d, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)));
      if (d <= 8) continue;
      LONG x = r.left + static_cast<LONG>(i) % w, y = r.top + static_cast<LONG>(i) / w;
      if (!ink.any) ink.rc = {x, y, x, y};
      ink.rc.left = std::min(ink.rc.left, x);
      ink.rc.top = std::min(ink.rc.top, y);
      ink.rc.right = std::max(ink.rc.right, x);
      ink.rc.bottom = std::max(ink.rc.bottom, y);
      ink.any = true;
    }
    return ink;
  }
  // The widest texts in the label's font: up to n of those as wide as the
  // widest, spread over them (different digits ink differently), then the
  // next widest.
  std::vector<std::string> Widest(CLabelUI* label, const std::set<std::string>& texts, size_t n) {
    HDC dc = GetDC(frame_->GetHandle());
    HGDIOBJ old = SelectObject(dc, Manager().GetFont(label->GetFont()));
    std::vector<std::pair<LONG, std::string>> measured;
    for (const std::string& t : texts) {
      SIZE s = {0, 0};
      GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &s);
      measured.push_back({s.cx, t});
    }
    SelectObject(dc, old);
    ReleaseDC(frame_->GetHandle(), dc);
    std::stable_sort(measured.begin(), measured.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    size_t ties = 0;
    while (ties < measured.size() && measured[ties].first == measured.front().first) ++ties;
    std::vector<std::string> out;
    size_t spread = std::min(ties, n);
    for (size_t i = 0; i < spread; ++i)
      out.push_back(measured[spread > 1 ? i * (ties - 1) / (spread - 1) : 0].second);
    for (size_t i = ties; i < measured.size() && out.size() < n; ++i) out.push_back(measured[i].second);
    return out;
  }

  // The widest of texts in a font of the layout (plain text, no markup).
  std::string WidestInFont(int font, const std::set<std::string>& texts) {
    HDC dc = GetDC(frame_->GetHandle());
    HGDIOBJ old = SelectObject(dc, Manager().GetFont(font));
    std::string widest;
    LONG most = -1;
    for (const std::string& t : texts) {
      SIZE s = {0, 0};
      GetTextExtentPoint32A(dc, t.c_str(), static_cast<int>(t.size()), &s);
      if (s.cx > most) {
        most = s.cx;
        widest = t;
      }
    }
    SelectObject(dc, old);
    ReleaseDC(frame_->GetHandle(), dc);
    return widest;
  }

  UIFrame* frame_ = nullptr;
  SIZE size_ = {0, 0};
  std::vector<uint32_t> pixels_;
};

TEST_F(FigureBoxes, TheWidestFigureOfEveryBoxStaysInsideIt) {
  ASSERT_EQ(Manager().GetDpiScale().Dpi(), 96) << "the gui layer runs at 96 DPI";
  std::vector<FigureBox> boxes = Boxes();
  for (int page : {0, 2}) {
    frame_->SelectPage(page);
    Snapshot();  // lays the page out
    for (const FigureBox& box : boxes) {
      if (box.page != page) continue;
      CLabelUI* label = Label(box.name);
      ASSERT_NE(label, nullptr) << box.name;
      // The text is drawn, and clipped, within the control less its padding.
      RECT r = label->GetPos();
      RECT pad = label->GetTextPadding();
      r = {r.left + pad.left, r.top + pad.top, r.right - pad.right, r.bottom - pad.bottom};
      ASSERT_LT(r.left, r.right) << box.name;
      RECT around = {r.left - 8, r.top - 8, r.right + 8, r.bottom + 8};
      UINT style = label->GetTextStyle();
      bool flushRight = (style & DT_RIGHT) != 0;
      bool flushLeft = !flushRight && (style & DT_CENTER) == 0;
      label->SetText("");
      std::vector<uint32_t> empty = Capture(around);
      for (const std::string& text : Widest(label, box.texts, 6)) {
        label->SetText(text.c_str());
        Ink ink = Changed(around, empty, Capture(around));
        ASSERT_TRUE(ink.any) << box.name << " drew nothing for " << text;
        // Text set flush against a side starts at that edge and may ink its
        // first column (a glyph without side bearing); it is never cut there.
        EXPECT_GT(ink.rc.left, r.left - (flushLeft ? 1 : 0))
            << box.name << " \"" << text << "\" touches the left edge";
        EXPECT_LT(ink.rc.right, r.right - (flushRight ? 0 : 1))
            << box.name << " \"" << text << "\" touches the right edge";
        EXPECT_GT(ink.rc.top, r.top) << box.name << " \"" << text << "\" touches the top edge";
        EXPECT_LT(ink.rc.bottom, r.bottom - 1) << box.name << " \"" << text << "\" touches the bottom edge";
      }
    }
    // A picture of the page with each box at its widest figure (and the
    // grade badges beside the application results).
    for (const FigureBox& box : boxes)
      if (box.page == page) Label(box.name)->SetText(Widest(Label(box.name), box.texts, 1)[0].c_str());
    for (const char* icon : {"WebIcon", "SMTPIcon", "FTPIcon"}) {
      frame_->SetBkImage(icon, vt::RateIcon(1000.0));
      frame_->SetVisible(icon, page == 2);
    }
    Snapshot();
    CreateDirectoryA(VT_ARTEFACT_DIR, nullptr);
    std::string path =
        std::string(VT_ARTEFACT_DIR) + (page == 0 ? "/figures-bandwidth.png" : "/figures-app.png");
    EXPECT_TRUE(SavePng(path)) << path;
  }
}

// The application page's log repeats the three results after their names
// ("多线程下载体验速率：950.00Mbps"): the widest of each stays on one line
// of the log, so no figure is broken from its unit.
TEST_F(FigureBoxes, TheApplicationLogKeepsEachFigureOnOneLine) {
  frame_->SelectPage(2);
  Snapshot();
  CLabelUI* log = Label("WebTestingStatus");
  ASSERT_NE(log, nullptr);
  RECT r = log->GetPos();
  RECT pad = log->GetTextPadding();
  RECT area = {r.left + pad.left, r.top + pad.top, r.right - pad.right, r.bottom - pad.bottom};
  const int lineHeight = Manager().GetFontInfo(4)->metrics.tmHeight;
  const char* const kLines[] = {"网页访问体验速率：%s", "邮件应用体验速率：%s", "多线程下载体验速率：%s"};
  for (int kind = 0; kind < 3; ++kind) {
    // The web and mail means go to the cap, the download box to 95 % of it.
    std::set<std::string> lines = EverySpeed(kind == 2 ? 0.95 : 1.0, [&](double v) {
      char line[128];
      snprintf(line, sizeof line, kLines[kind], vt::AppSpeedText(v, "测试超时").c_str());
      return std::string(line);
    });
    // Measured in the log's font 4, as the markup draws it.
    std::string widest = WidestInFont(4, lines);
    RECT around = {area.left - 8, area.top, area.right + 8, area.bottom};
    log->SetText("");
    std::vector<uint32_t> empty = Capture(around);
    log->SetText(("<f 4>" + widest + "</f>").c_str());
    Ink ink = Changed(around, empty, Capture(around));
    ASSERT_TRUE(ink.any) << widest;
    EXPECT_LT(ink.rc.bottom - ink.rc.top, lineHeight * 3 / 2) << "\"" << widest << "\" takes two lines";
    EXPECT_LT(ink.rc.right, area.right - 1) << "\"" << widest << "\" reaches the right edge";
  }
  frame_->SetText("WebTestingStatus",
                  "<f 4>正在准备测试...<n>...<n>网页访问体验速率：1000.00Mbps<n><n>"
                  "邮件应用体验速率：1000.00Mbps<n><n>多线程下载体验速率：950.00Mbps<n></f>");
  Snapshot();
  CreateDirectoryA(VT_ARTEFACT_DIR, nullptr);
  EXPECT_TRUE(SavePng(std::string(VT_ARTEFACT_DIR) + "/figures-app-log.png"));
}

}  // namespace
