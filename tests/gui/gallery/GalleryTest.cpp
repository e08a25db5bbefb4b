// The gallery: a window built from a test layout with every control class,
// the product skin's artwork, list rows built at run time like the route
// list's, the dial at a value. Its painted buffer is kept as gallery.png
// (a picture for people, not a golden image).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/gui/gallery/GalleryLayout.h"
#include "tests/support/SkinTestKit.h"
#include "ui/Core/UIManager.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/DialUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextUI.h"

namespace {

// The product skin archive of this build: build/<preset>/skin/skin.zip, next to
// the tests folder.
std::string ProductSkin() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p = path;
  p = p.substr(0, p.find_last_of("\\/"));
  return p.substr(0, p.find_last_of("\\/")) + "\\skin\\skin.zip";
}

TEST(Gallery, EveryControlClassOnOneWindow) {
  ASSERT_TRUE(CUIManager::SetSkinArchiveFile(ProductSkin().c_str())) << ProductSkin();
  skintest::WindowConfig config;
  config.className = "GalleryWnd";
  config.skinFile = kGalleryLayout;  // layout text, parsed as given
  skintest::TestWindow window(config);
  ASSERT_NE(window.Create(), nullptr);
  HWND hwnd = window.GetHandle();

  auto* list = static_cast<CListUI*>(window.Find("list")->GetInterface("List"));
  ASSERT_NE(list, nullptr);
  for (int hop = 1; hop <= 12; ++hop) list->Add(gallery::RouteRow(hop, hop * 5 - 3));
  static_cast<CDialUI*>(window.Find("dial")->GetInterface("Dial"))->SetValue(400);
  static_cast<CComboUI*>(window.Find("mode")->GetInterface("Combo"))->SelectItem(0);
  list->SelectItem(2);
  InvalidateRect(hwnd, nullptr, FALSE);
  UpdateWindow(hwnd);
  skintest::Pump(100);

  struct Expect {
    const char* name;
    const char* cls;
  } expected[] = {{"root", "ContainerUI"},      {"bands", "VerticalLayoutUI"}, {"header", "HorizontalLayoutUI"},
                  {"title", "LabelUI"},        {"optA", "OptionUI"},          {"closebtn", "ButtonUI"},
                  {"dial", "DialUI"},          {"status", "TextUI"},          {"pages", "TabLayoutUI"},
                  {"user", "EditUI"},          {"mode", "ComboUI"},           {"list", "ListUI"},
                  {"start", "ButtonUI"},       {"version", "LabelUI"}};
  for (const Expect& e : expected) {
    CControlUI* c = window.Find(e.name);
    ASSERT_NE(c, nullptr) << e.name;
    EXPECT_STREQ(c->GetClass(), e.cls) << e.name;
  }
  // The rows overflow the list: its bar shows, and the delay bars are drawn.
  EXPECT_TRUE(list->GetList()->GetVerticalScrollBar()->IsVisible());
  EXPECT_EQ(list->GetCount(), 12);
  EXPECT_STREQ(static_cast<CComboUI*>(window.Find("mode")->GetInterface("Combo"))->GetText().GetData(), "互联网");
  auto* verdict = static_cast<CTextUI*>(window.Find("verdict")->GetInterface("Text"));
  EXPECT_EQ(verdict->GetLinkCount(), 1);
  // Something was painted everywhere: many colours, not one fill.
  std::set<uint32_t> colours;
  for (int y = 0; y < 550; y += 5)
    for (int x = 0; x < 900; x += 5) colours.insert(window.Pixel(x, y));
  EXPECT_GT(colours.size(), 100u);
  EXPECT_TRUE(window.SaveScreenshot("gallery.png"));
  DestroyWindow(hwnd);
}

}  // namespace
