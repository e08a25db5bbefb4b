// What the controls do: option groups, the tab layout's pages, the list's
// rows, scroll bar and selection, the edit's native window, text links,
// and the flow of a vertical layout.
#include <gtest/gtest.h>

#include "tests/gui/controls/ControlsSkin.h"
#include "ui/Core/DpiScale.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/EditUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/OptionUI.h"
#include "ui/controls/ProgressUI.h"
#include "ui/controls/ScrollBarUI.h"
#include "ui/controls/TextUI.h"
#include "ui/layouts/TabLayoutUI.h"

namespace {

using skintest::TestWindow;

class ControlsBehaviour : public skintest::WindowTest {
 protected:
  void SetUp() override {
    controlstest::RegisterSkin();
    Open(controlstest::Layout());
  }
  void Layout() {
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
    skintest::Pump(20);
  }
  std::string Types() const {
    std::string out;
    for (const auto& r : window_->notes) {
      if (r.type == "setfocus" || r.type == "killfocus") continue;
      out += (out.empty() ? "" : " ") + r.type + ":" + r.sender;
    }
    return out;
  }
};

TEST_F(ControlsBehaviour, OptionGroupsSelectOneAndToggleWithout) {
  COptionUI* opt1 = Find<COptionUI>("opt1", "Option");
  COptionUI* opt2 = Find<COptionUI>("opt2", "Option");
  COptionUI* solo = Find<COptionUI>("solo", "Option");
  ASSERT_TRUE(opt1 && opt2 && solo);
  skintest::Click(hwnd_, 570, 50);
  EXPECT_TRUE(opt2->IsSelected());
  EXPECT_FALSE(opt1->IsSelected());
  EXPECT_EQ(Types(), "click:opt2 selectchanged:opt2");  // the cleared option sends nothing
  window_->notes.clear();
  skintest::Click(hwnd_, 570, 50);  // already selected: a click, no change
  EXPECT_EQ(Types(), "click:opt2");
  window_->notes.clear();
  skintest::Click(hwnd_, 620, 50);
  skintest::Click(hwnd_, 620, 50);
  EXPECT_FALSE(solo->IsSelected());
  EXPECT_EQ(Types(), "click:solo selectchanged:solo click:solo selectchanged:solo");
}

TEST_F(ControlsBehaviour, TabLayoutShowsOnePage) {
  CTabLayoutUI* tabs = Find<CTabLayoutUI>("tabs", "TabLayout");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(window_->Find("page0")->IsVisible());
  EXPECT_FALSE(window_->Find("page1")->IsVisible());
  ASSERT_TRUE(tabs->SelectItem(3));
  Layout();
  for (int i = 0; i < 4; ++i) {
    std::string name = "page" + std::to_string(i);
    EXPECT_EQ(window_->Find(name.c_str())->IsVisible(), i == 3) << name;
  }
  RECT page = window_->Find("page3")->GetPos();
  EXPECT_EQ(page.left, 710);
  EXPECT_EQ(page.bottom, 300);
  ASSERT_EQ(window_->Count("tabselect"), 1);
  EXPECT_EQ(window_->notes.back().wParam, 3u);
  EXPECT_EQ(window_->notes.back().lParam, 0);
  EXPECT_TRUE(tabs->SelectItem(3));  // the current page: nothing sent
  EXPECT_FALSE(tabs->SelectItem(4));
  EXPECT_EQ(window_->Count("tabselect"), 1);
  EXPECT_EQ(tabs->GetCurSel(), 3);
  // Removing the current page makes the first one current.
  ASSERT_TRUE(tabs->RemoveChildAt(3));
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(window_->Find("page0")->IsVisible());
}

TEST_F(ControlsBehaviour, SelectedIdPicksThePageSilentlyAtLoad) {
  CTabLayoutUI* preset = Find<CTabLayoutUI>("preset", "TabLayout");
  ASSERT_NE(preset, nullptr);
  EXPECT_EQ(preset->GetCurSel(), 2);
  EXPECT_FALSE(window_->Find("presetA")->IsVisible());
  EXPECT_TRUE(window_->Find("presetC")->IsVisible());
  EXPECT_EQ(window_->Find("presetC")->GetPos().left, 710);
}

// Measured with the real font: Chinese text wraps between any two
// characters, so a narrow text control grows by lines.
TEST_F(ControlsBehaviour, TextControlMeasuresWrappedChineseMarkup) {
  CTextUI text;  // no fixed width: measured in the width offered
  text.SetManager(&window_->GetManager(), nullptr, false);
  text.SetShowHtml(true);
  text.SetText("<f 1>测试测试测试测试</f>");
  const TEXTMETRICA& tm = window_->GetManager().GetFontInfo(1)->metrics;
  int line = tm.tmHeight + tm.tmExternalLeading;
  SIZE wide = text.DesiredSize({400, 0});
  EXPECT_EQ(wide.cy, line);
  int glyph = (wide.cx - 4) / 8;  // text padding 2 + 2
  ASSERT_GT(glyph, 0);
  SIZE narrow = text.DesiredSize({4 + 3 * glyph + glyph / 2, 0});  // room for three and a half
  EXPECT_EQ(narrow.cy, 3 * line);  // 8 characters: 3 + 3 + 2
  EXPECT_EQ(narrow.cx, 4 + 3 * glyph);
  // Plain text (no markup) measures with the system's word wrapping.
  text.SetShowHtml(false);
  text.SetText("abc");
  EXPECT_GT(text.DesiredSize({400, 0}).cy, 0);
}

TEST_F(ControlsBehaviour, VerticalLayoutBands) {
  EXPECT_EQ(window_->Find("header")->GetPos().bottom, 111);
  RECT content = window_->Find("content")->GetPos();
  EXPECT_EQ(content.bottom - content.top, 409);
  EXPECT_EQ(window_->Find("version")->GetPos().top, 520);
}

CListContainerElementUI* Row() {
  auto* row = new CListContainerElementUI;
  row->ApplyAttributeString("height=\"40\" bordercolor=\"FFEEEEEE\" bottombordersize=\"2\"");
  return row;
}

TEST_F(ControlsBehaviour, ListRowsBringTheScrollBarWithTheEighth) {
  CListUI* list = Find<CListUI>("list", "List");
  ASSERT_NE(list, nullptr);
  CScrollBarUI* bar = list->GetList()->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->GetFixedWidth(), 10);  // the "VScrollBar" defaults of the layout
  for (int n = 1; n <= 8; ++n) {
    ASSERT_TRUE(list->Add(Row()));
    Layout();
    RECT rc = list->ChildAt(n - 1)->GetPos();
    EXPECT_EQ(bar->IsVisible(), n == 8) << n;
    EXPECT_EQ(rc.right - rc.left, n == 8 ? 190 : 200) << n;
    EXPECT_EQ(rc.top, 220 + 40 * (n - 1)) << n;
  }
  EXPECT_EQ(list->GetCount(), 8);
  EXPECT_EQ(bar->GetScrollRange(), 20);
  // The wheel scrolls the body; the rows move up.
  PostMessageA(hwnd_, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(600, 300));
  skintest::Pump(30);
  Layout();
  EXPECT_EQ(list->GetList()->GetScrollPos(), 20);
  EXPECT_EQ(list->ChildAt(0)->GetPos().top, 200);
  // The arrows step by a line: up from the end, then down again.
  skintest::Click(hwnd_, 695, 225);
  Layout();
  EXPECT_EQ(bar->GetScrollPos(), 20 - bar->GetLineSize());
  EXPECT_EQ(list->ChildAt(0)->GetPos().top, 200 + bar->GetLineSize());
  skintest::Click(hwnd_, 695, 515);
  Layout();
  EXPECT_EQ(bar->GetScrollPos(), 20);
  list->RemoveAll();
  Layout();
  EXPECT_EQ(list->GetCount(), 0);
  EXPECT_FALSE(bar->IsVisible());
}

TEST_F(ControlsBehaviour, ListSelection) {
  CListUI* list = Find<CListUI>("list", "List");
  ASSERT_NE(list, nullptr);
  for (int i = 0; i < 3; ++i) list->Add(Row());
  Layout();
  window_->notes.clear();
  skintest::Click(hwnd_, 600, 270);  // row 1
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(Types(), "itemclick: itemselect:list");
  EXPECT_EQ(window_->notes.back().wParam, 1u);
  EXPECT_EQ(window_->notes.back().lParam, -1);
  auto* row1 = static_cast<CListContainerElementUI*>(list->ChildAt(1));
  EXPECT_TRUE(row1->IsSelected());
  // Item colours: selected, and hot under the mouse.
  PostMessageA(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(600, 310));
  skintest::Pump(30);
  Layout();
  EXPECT_EQ(window_->Pixel(650, 270), 0xE0FFFFu);
  EXPECT_TRUE(static_cast<CListContainerElementUI*>(list->ChildAt(2))->IsHot());
  EXPECT_EQ(window_->Pixel(650, 310), 0xE0FFE0u);
  EXPECT_EQ(window_->Pixel(650, 230), 0xFFFFFFu);
  EXPECT_TRUE(list->SelectItem(2));
  EXPECT_FALSE(row1->IsSelected());
  EXPECT_FALSE(list->SelectItem(5));  // out of range: unchanged
  EXPECT_EQ(list->GetCurSel(), 2);
  EXPECT_FALSE(list->SelectItem(-1));  // below 0: cleared
  EXPECT_EQ(list->GetCurSel(), -1);
  window_->notes.clear();
  PostMessageA(hwnd_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(600, 230));
  skintest::Pump(30);
  EXPECT_EQ(window_->Count("itemactivate"), 1);
}

struct PeekEdit : CEditUI {
  using CEditUI::DisplayText;
};

TEST_F(ControlsBehaviour, EditNativeWindow) {
  CEditUI* edit = Find<CEditUI>("edit", "Edit");
  ASSERT_NE(edit, nullptr);
  edit->SetText("abc");
  skintest::Click(hwnd_, 560, 193);
  HWND native = edit->GetNativeWindow();
  ASSERT_NE(native, nullptr);
  char cls[32] = {};
  GetClassNameA(native, cls, sizeof cls);
  EXPECT_STREQ(cls, "EditWnd");
  DWORD start = 0, end = 0;
  SendMessageA(native, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);  // a click selects all
  window_->notes.clear();
  SendMessageA(native, WM_CHAR, 'x', 0);
  skintest::Pump(20);
  EXPECT_STREQ(edit->GetText().GetData(), "x");
  EXPECT_EQ(window_->Count("textchanged"), 1);
  SendMessageA(native, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(window_->Count("return"), 1);
  // Focus elsewhere: the native window goes.
  window_->GetManager().SetFocusControl(window_->Find("opt1"));
  SetFocus(hwnd_);
  skintest::Pump(50);
  EXPECT_EQ(edit->GetNativeWindow(), nullptr);
  EXPECT_FALSE(IsWindow(native));
  // A password shows one "*" per character, a Chinese character once.
  PeekEdit pwd;
  pwd.ApplyAttribute("password", "true");
  pwd.SetText("a中b");
  EXPECT_STREQ(pwd.DisplayText().GetData(), "***");
}

TEST_F(ControlsBehaviour, TextLinksSendTheirNumber) {
  CTextUI* text = Find<CTextUI>("link", "Text");
  ASSERT_NE(text, nullptr);
  Layout();
  ASSERT_EQ(text->GetLinkCount(), 1);
  EXPECT_STREQ(text->GetLinkTarget(0).GetData(), "go");
  RECT rc = text->GetLinkRect(0);
  EXPECT_GT(rc.right - rc.left, 20);
  skintest::Click(hwnd_, rc.left + 5, rc.top + 5);
  ASSERT_EQ(window_->Count("link"), 1);
  EXPECT_EQ(window_->notes.back().wParam, 0u);
  EXPECT_EQ(text->GetControlFlags() & kControlFlagSetCursor, unsigned(kControlFlagSetCursor));
}

TEST_F(ControlsBehaviour, ComboDropDownChoosesAnItem) {
  CComboUI* combo = Find<CComboUI>("combo", "Combo");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->GetCount(), 3);
  EXPECT_TRUE(combo->GetText().IsEmpty());
  skintest::Click(hwnd_, 750, 320);
  HWND drop = combo->GetDropWindow();
  ASSERT_NE(drop, nullptr);
  EXPECT_EQ(window_->Count("dropdown"), 1);
  RECT rc;
  GetWindowRect(drop, &rc);
  EXPECT_EQ(rc.right - rc.left, 80);  // dropboxsize 0: the combo's width
  int row = (rc.bottom - rc.top - 2) / 3;
  SendMessageA(drop, WM_MOUSEMOVE, 0, MAKELPARAM(10, row + row / 2));
  SendMessageA(drop, WM_LBUTTONUP, 0, MAKELPARAM(10, row + row / 2));
  skintest::Pump(30);
  EXPECT_EQ(combo->GetDropWindow(), nullptr);
  EXPECT_FALSE(IsWindow(drop));
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_STREQ(combo->GetText().GetData(), "two");
  ASSERT_EQ(window_->Count("itemselect"), 1);
  EXPECT_EQ(window_->notes.back().wParam, 1u);
  EXPECT_EQ(window_->notes.back().lParam, -1);
  EXPECT_FALSE(combo->SelectItem(3));
}

// What a control sets for itself (a scroll bar's width, a progress bar's
// height, an edit's and a text's padding) is in 96-DPI pixels like the
// layout's values, so it follows the window's scale there and back; so does
// a list's scroll bar, whose width the layout's defaults give.
TEST_F(ControlsBehaviour, ControlDefaultsFollowTheScale) {
  CUIManager& manager = window_->GetManager();
  auto* root = static_cast<CContainerUI*>(manager.GetRoot()->GetInterface("Container"));
  ASSERT_NE(root, nullptr);
  auto* bar = new CScrollBarUI;
  auto* progress = new CProgressUI;
  auto* edit = new CEditUI;
  auto* text = new CTextUI;
  for (CControlUI* c : std::initializer_list<CControlUI*>{bar, progress, edit, text}) ASSERT_TRUE(root->Add(c));
  CScrollBarUI* listBar = Find<CListUI>("list", "List")->GetList()->GetVerticalScrollBar();
  ASSERT_NE(listBar, nullptr);
  for (int dpi : {96, 144, 192, 96}) {
    manager.SetDpi(dpi);
    vt::DpiScale s(dpi);
    EXPECT_EQ(bar->GetFixedWidth(), s.Scale(16)) << dpi;
    EXPECT_EQ(progress->GetFixedHeight(), s.Scale(12)) << dpi;
    EXPECT_EQ(edit->GetTextPadding().left, s.Scale(4)) << dpi;
    EXPECT_EQ(edit->GetTextPadding().bottom, s.Scale(3)) << dpi;
    EXPECT_EQ(text->GetTextPadding().right, s.Scale(2)) << dpi;
    EXPECT_EQ(listBar->GetFixedWidth(), s.Scale(10)) << dpi;
  }
}

}  // namespace
